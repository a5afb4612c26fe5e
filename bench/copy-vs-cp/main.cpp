#include "BenchReport.h"
#include "PageSteps.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

// Copies a 1 GiB file with FileCopier, the way the card page does, and with cp, from a cold page
// cache each time, and notes the longest stall of the event loop that receives the copier's
// signals.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const BenchReport::Options options = BenchReport::options();
    const QString dir = options.scratch + QStringLiteral("/copy-vs-cp");
    QDir().mkpath(dir);
    const QString source = dir + QStringLiteral("/source.bin");
    const QString destination = dir + QStringLiteral("/copy.bin");
    if (!BenchReport::ensureRandomFile(source, options.size, 7)) {
        std::fprintf(stderr, "copy-vs-cp: cannot write %s\n", qPrintable(source));
        return 1;
    }

    double longestStallMs = 0.0;
    // cp runs under the same event loop and meter, so the stall it shows is what this machine's
    // load alone does to the loop.
    double longestStallWithCpMs = 0.0;
    bool copiedWhole = true;
    const QList<QList<double>> seconds = BenchReport::alternate(
        options.runs,
        [&] {
            QFile::remove(destination);
            BenchReport::startRun(BenchReport::Cache::Cold, {source});
        },
        {[&] {
             return BenchReport::timed([&] {
                 copiedWhole = PageSteps::copy(source, destination, longestStallMs) && copiedWhole;
             });
         },
         [&] {
             return BenchReport::timed([&] {
                 BenchReport::runTool(QStringLiteral("cp"), {source, destination},
                                      longestStallWithCpMs);
             });
         }});
    QFile::remove(destination);

    QString notes = QStringLiteral("%1 MiB; longest event-loop stall %2 ms (%3 ms while cp ran)")
                        .arg(options.size >> 20)
                        .arg(longestStallMs, 0, 'f', 1)
                        .arg(longestStallWithCpMs, 0, 'f', 1);
    if (!copiedWhole) {
        notes += QStringLiteral("; THE COPY FAILED");
    }
    BenchReport::printComparison(QStringLiteral("copy-vs-cp"), seconds[0], seconds[1], notes);
    return 0;
}
