#include "BenchReport.h"
#include "PageSteps.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

// Copies a 1 GiB file with FileCopier, the way the card page does, and with cp, from a cold page
// cache each time, and notes the longest stall of the event loop that receives the copier's
// signals.
namespace {
constexpr qint64 fileSize = qint64(1) << 30;
constexpr int runs = 3;

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString base = qEnvironmentVariable("HALVORNSYNC_BENCH_DIR", QDir::tempPath());
    const QString dir = base + QStringLiteral("/copy-vs-cp");
    QDir().mkpath(dir);
    const QString source = dir + QStringLiteral("/source.bin");
    const QString destination = dir + QStringLiteral("/copy.bin");
    if (!BenchReport::ensureRandomFile(source, fileSize, 7)) {
        std::fprintf(stderr, "copy-vs-cp: cannot write %s\n", qPrintable(source));
        return 1;
    }

    bool cacheDropped = true;
    const auto prepare = [&] {
        QFile::remove(destination);
        cacheDropped = BenchReport::startCold(source) && cacheDropped;
    };

    double longestStallMs = 0.0;
    bool copiedWhole = true;
    const double ours = BenchReport::medianSeconds(
        runs,
        [&] { copiedWhole = PageSteps::copy(source, destination, longestStallMs) && copiedWhole; },
        prepare);
    // cp runs under the same event loop and meter, so the stall it shows is what this machine's
    // load alone does to the loop.
    double longestStallWithCpMs = 0.0;
    const double reference = BenchReport::medianSeconds(
        runs,
        [&] {
            BenchReport::runTool(QStringLiteral("cp"), {source, destination}, longestStallWithCpMs);
        },
        prepare);
    QFile::remove(destination);

    QString notes = QStringLiteral("1 GiB, median of %1 runs, %2; longest event-loop stall %3 ms "
                                   "(%4 ms while cp ran)")
                        .arg(runs)
                        .arg(cacheDropped ? QStringLiteral("page cache dropped before each run")
                                          : QStringLiteral("source cached before each run"))
                        .arg(longestStallMs, 0, 'f', 1)
                        .arg(longestStallWithCpMs, 0, 'f', 1);
    if (!copiedWhole) {
        notes += QStringLiteral("; THE COPY FAILED");
    }
    BenchReport::printRatio(QStringLiteral("copy-vs-cp"), ours, reference, notes);
    return 0;
}
