// Checks a generated 1 GiB file with CheckMd5Worker, the way the download pages verify a map, and
// with md5sum, the file in the page cache before every run of both so the figure is the hash and
// not the disk, and notes the processor time each took and the longest stall of the event loop
// that waits for the worker's answer.

#include "BenchReport.h"
#include "PageSteps.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace {
constexpr qint64 fileSize = qint64(1) << 30;
constexpr int runs = 3;

[[noreturn]] void fail(const QString &message)
{
    std::fprintf(stderr, "md5-vs-md5sum: %s\n", qPrintable(message));
    std::exit(1);
}

// The digest md5sum prints; the loop's stall meanwhile is what this machine's load alone does
// to it.
QString runMd5sum(const QString &path, double *idleStallMs)
{
    const std::optional<QByteArray> output =
        BenchReport::runTool(QStringLiteral("md5sum"), {path}, *idleStallMs);
    const QString digest = output ? QString::fromLatin1(*output).section(' ', 0, 0) : QString();
    if (digest.size() != 32) {
        fail(QStringLiteral("md5sum gave no digest"));
    }
    return digest;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString base = qEnvironmentVariable("HALVORNSYNC_BENCH_DIR", QDir::tempPath());
    const QString dir = base + QStringLiteral("/md5-vs-md5sum");
    QDir().mkpath(dir);
    const QString source = dir + QStringLiteral("/source.bin");
    if (!BenchReport::ensureRandomFile(source, fileSize, 11)) {
        fail(QStringLiteral("cannot write %1").arg(source));
    }

    // Turn about rather than one tool's runs after the other's, so a burst of load from
    // elsewhere on the machine falls on both; the processor time beside the wall time shows what
    // each needed whatever the load.
    QList<double> oursTimes;
    QList<double> oursCpuTimes;
    QList<double> referenceTimes;
    QList<double> referenceCpuTimes;
    double idleStallMs = 0.0;
    double stallMs = 0.0;
    bool allMatched = true;
    for (int i = 0; i < runs; ++i) {
        BenchReport::readThrough(source);
        QElapsedTimer clock;
        double cpu = BenchReport::processorSeconds(true);
        clock.start();
        const QString digest = runMd5sum(source, &idleStallMs);
        referenceTimes.append(clock.nsecsElapsed() / 1e9);
        referenceCpuTimes.append(BenchReport::processorSeconds(true) - cpu);

        BenchReport::readThrough(source);
        cpu = BenchReport::processorSeconds();
        clock.start();
        allMatched =
            PageSteps::checksum(source, digest, stallMs, CheckMd5Worker::ReadFrom::Cache) &&
            allMatched;
        oursTimes.append(clock.nsecsElapsed() / 1e9);
        oursCpuTimes.append(BenchReport::processorSeconds() - cpu);
    }
    const double ours = BenchReport::median(oursTimes);
    const double reference = BenchReport::median(referenceTimes);

    QString notes = QStringLiteral("1 GiB, median of %1 runs, file cached before each run; "
                                   "processor time ours %2 s, md5sum %3 s; longest event-loop "
                                   "stall %4 ms (%5 ms while md5sum ran)")
                        .arg(runs)
                        .arg(BenchReport::median(oursCpuTimes), 0, 'f', 3)
                        .arg(BenchReport::median(referenceCpuTimes), 0, 'f', 3)
                        .arg(stallMs, 0, 'f', 1)
                        .arg(idleStallMs, 0, 'f', 1);
    if (!allMatched) {
        notes += QStringLiteral("; OUR CHECK DISAGREED WITH md5sum");
    }
    BenchReport::printRatio(QStringLiteral("md5-vs-md5sum"), ours, reference, notes);
    return 0;
}
