#pragma once

#include <QByteArrayList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>
#include <utility>

class QProcess;

// What the download benchmarks share: the stand-in vendor service started for them, our download
// run in a child process of the benchmark (so that the kernel's high-water mark of its resident
// memory belongs to the download alone), and that child's memory figures.
namespace BenchProcess {

// Prints "<benchmark>: <message>" and ends the program with code 1.
[[noreturn]] void fail(const QString &message);

// A "Vm...:  <n> kB" line of /proc/self/status, in KiB; 0 where there is no such file.
qint64 statusKiB(const char *field);

// `process` is ended when this program ends, so that a benchmark stopped with Ctrl+C leaves no
// service or download behind.
void diesWithParent(QProcess &process);

// The folder the service's sample files are kept in, shared by the download benchmarks: only the
// first run pays for making them.
QString serviceDataFolder(const QString &scratch);

// Starts the service on a free loopback port with sample maps of `mapSize` bytes in `dataDir`
// and returns its address.
QUrl startService(QProcess &service, const QString &dataDir, qint64 mapSize);

// The address and target file when this program was started again (downloadChildArguments()) to
// run our download; nothing when it is the benchmark itself.
std::optional<std::pair<QUrl, QString>> downloadChild();
// The arguments that start this program again to download `url` into `target`.
QStringList downloadChildArguments(const QUrl &url, const QString &target);

// Runs this program again with `arguments`, the service at `serviceUrl` as its vendor service,
// and returns the fields of the one line it printed; fails the benchmark when it fails or prints
// other than `fieldCount` fields.
QByteArrayList runSelf(const QUrl &serviceUrl, const QStringList &arguments, int fieldCount);

} // namespace BenchProcess
