#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The method every benchmark shares, so that their figures hold still from one run to the next:
// each timed run starts from the same state (startRun), our code and the reference take turns
// (alternate), and each line gives the spread beside the medians (printComparison).
namespace BenchReport {

// What a benchmark program takes on its command line: `--runs N`, the timed runs of each side,
// and `--size MiB`, the size of its main input (smaller for a quick try).
struct Options
{
    int runs = 5;
    qint64 size = qint64(1) << 30;
    // $HALVORNSYNC_BENCH_DIR; at a size other than the default, a folder of its own inside it,
    // so that the default's generated inputs stay for the next full run. Made.
    QString scratch;
};

// Reads the options from the application's command line; exits with a message on bad ones.
Options options();

enum class Cache
{
    Cold, // the run reads its input from the disk
    Warm, // the run finds its input in the page cache
};

// Untimed, before each timed run: puts everything written before on the disk (sync, then waits,
// at most 30 s, until the kernel counts next to nothing dirty or under writeback), then for a
// cold run drops the page cache, or where that is not permitted evicts `files` (the benchmark's
// own inputs and outputs, files or folders) from it; for a warm run reads `files` through.
// printComparison() says which was done.
void startRun(Cache cache, const QStringList &files);

// The wall-clock seconds `work` takes.
double timed(const std::function<void()> &work);

// Runs each of `sides` `runs` times, turn about: in the given order one round and reversed the
// next (ours, reference, reference, ours, ...), so that no side always gets the warm or the cold
// turn. A round whose times are not kept goes first: below a virtual disk the host caches what
// was read lately, so the first read of an input is slower than every later "cold" one, and the
// first run also loads the tools. `prepare` runs before every run, untimed (see startRun). Each
// side does its work once and returns its seconds (mostly timed()); what else it notes counts the
// untimed round too. Returns each side's seconds, one per timed round: the n-th figures of two
// sides were taken next to each other and make a pair.
QList<QList<double>> alternate(int runs, const std::function<void()> &prepare,
                               const QList<std::function<double()>> &sides);

// The middle of `values` (0 when empty).
double median(QList<double> values);

// "min/median/max" of `values`, in seconds with three decimals.
QString minMedianMax(const QList<double> &values);

// Prints the one line of a comparison:
// "<name>: ours <median> s, reference <median> s, speed ratio <ratio> (pairs <min>..<max>);
// min/median/max ours ..., reference ...; spread ±<n> %, steady|unsteady; <how the runs
// started>; <notes>; goal: speed ratio >= <goal> met|MISSED". The speed ratio is the median
// reference time over the median of ours, and goals are judged by it; a pair's ratio is that of
// two runs taken next to each other. The spread is the widest of the two sides' and the pairs'
// distances from their medians; over 15 % the line says "unsteady". No goal when `goal` is 0.
void printComparison(const QString &name, const QList<double> &ours, const QList<double> &reference,
                     const QString &notes = QString(), double goal = 0.0);

// User and system time in seconds, all threads, of this process, or with `children` of those of
// its child processes that have ended and been waited for.
double processorSeconds(bool children = false);

// Makes sure `path` holds `size` bytes of incompressible data (so no layer below can take a
// shortcut), written once and reused: making a gigabyte costs more than a benchmark run. False
// when it cannot be written.
bool ensureRandomFile(const QString &path, qint64 size, quint32 seed);

// Reads the whole file, so that its pages are in the cache.
void readThrough(const QString &path);

// Runs `commands` (each a program and its arguments) to their end as a pipeline, each one's
// output the next one's input, under this thread's event loop, as our own work runs, and raises
// `longestStallMs` to the loop's longest stall meanwhile: what the machine alone costs an idle
// loop. The last one's standard output when all ended with code 0; nothing when one could not run
// or failed (its error output is printed then).
std::optional<QByteArray> runTools(const QList<QStringList> &commands, double &longestStallMs);

// runTools() with one program.
std::optional<QByteArray> runTool(const QString &program, const QStringList &arguments,
                                  double &longestStallMs);

} // namespace BenchReport
