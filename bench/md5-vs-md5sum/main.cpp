// Checks a generated 1 GiB file with CheckMd5Worker, the way the download pages verify a map, and
// with md5sum, the file in the page cache before every run of both so the figure is the hash and
// not the disk, and notes the processor time each took and the longest stall of the event loop
// that waits for the worker's answer.

#include "BenchReport.h"
#include "PageSteps.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>

namespace {

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
    const BenchReport::Options options = BenchReport::options();
    const QString dir = options.scratch + QStringLiteral("/md5-vs-md5sum");
    QDir().mkpath(dir);
    const QString source = dir + QStringLiteral("/source.bin");
    if (!BenchReport::ensureRandomFile(source, options.size, 11)) {
        fail(QStringLiteral("cannot write %1").arg(source));
    }

    // The processor time beside the wall time shows what each needed whatever the load.
    QList<double> oursCpuTimes;
    QList<double> referenceCpuTimes;
    double idleStallMs = 0.0;
    double stallMs = 0.0;
    const QString digest = runMd5sum(source, &idleStallMs);
    bool allMatched = true;
    const QList<QList<double>> seconds = BenchReport::alternate(
        options.runs, [&] { BenchReport::startRun(BenchReport::Cache::Warm, {source}); },
        {[&] {
             const double cpu = BenchReport::processorSeconds();
             const double wall = BenchReport::timed([&] {
                 allMatched = PageSteps::checksum(source, digest, stallMs,
                                                  CheckMd5Worker::ReadFrom::Cache) &&
                              allMatched;
             });
             oursCpuTimes.append(BenchReport::processorSeconds() - cpu);
             return wall;
         },
         [&] {
             const double cpu = BenchReport::processorSeconds(true);
             const double wall = BenchReport::timed(
                 [&] { allMatched = runMd5sum(source, &idleStallMs) == digest && allMatched; });
             referenceCpuTimes.append(BenchReport::processorSeconds(true) - cpu);
             return wall;
         }});

    QString notes = QStringLiteral("%1 MiB; processor time ours %2 s, md5sum %3 s; longest "
                                   "event-loop stall %4 ms (%5 ms while md5sum ran)")
                        .arg(options.size >> 20)
                        .arg(BenchReport::median(oursCpuTimes), 0, 'f', 3)
                        .arg(BenchReport::median(referenceCpuTimes), 0, 'f', 3)
                        .arg(stallMs, 0, 'f', 1)
                        .arg(idleStallMs, 0, 'f', 1);
    if (!allMatched) {
        notes += QStringLiteral("; OUR CHECK DISAGREED WITH md5sum");
    }
    BenchReport::printComparison(QStringLiteral("md5-vs-md5sum"), seconds[0], seconds[1], notes);
    return 0;
}
