#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace BenchReport {

// Runs `work` `runs` times and returns the median wall-clock time in seconds. `prepare` runs
// before each timed run and is not timed (for example to drop the page cache or clear output).
double medianSeconds(int runs, const std::function<void()> &work,
                     const std::function<void()> &prepare = {});

// The middle of `values` (0 when empty), for figures a benchmark times itself, such as those a
// child process reports.
double median(QList<double> values);

// User and system time in seconds, all threads, of this process, or with `children` of those of
// its child processes that have ended and been waited for.
double processorSeconds(bool children = false);

// Prints the one line every benchmark ends with:
// "<name>: ours <s> s, reference <s> s, speed ratio <reference/ours>", followed by extra notes.
void printRatio(const QString &name, double oursSeconds, double referenceSeconds,
                const QString &notes = QString());

// Asks the kernel to drop clean page-cache pages; false when not permitted (then runs are
// equalised by warming the cache instead).
bool dropPageCache();

// Makes sure `path` holds `size` bytes of incompressible data (so no layer below can take a
// shortcut), written once and reused: making a gigabyte costs more than a benchmark run. False
// when it cannot be written.
bool ensureRandomFile(const QString &path, qint64 size, quint32 seed);

// Reads the whole file, so that its pages are in the cache.
void readThrough(const QString &path);

// Before a timed run: drops the page cache, or, where that is not permitted, reads `input`
// through so that every run starts alike (warm). True when the cache was dropped.
bool startCold(const QString &input);

// Runs the standard tool `program` to its end under this thread's event loop, as our own work
// runs, and raises `longestStallMs` to the loop's longest stall meanwhile: what the machine alone
// costs an idle loop. Its standard output when it ended with code 0; nothing when it could not
// run or failed (its error output is printed then).
std::optional<QByteArray> runTool(const QString &program, const QStringList &arguments,
                                  double &longestStallMs);

} // namespace BenchReport
