// Downloads the 1 GiB sample map from the stand-in vendor service over loopback with FileDownload,
// the way every download page does, and with `curl -s -o FILE URL`, the served file in the page
// cache and earlier writes on the disk before every run of both. Beside the ratio it prints the
// peak resident memory of our download and the longest stall of the event loop that receives it.
//
// Our download runs in a child process of this program, so that the kernel's high-water mark of
// its resident memory (VmHWM) belongs to the download alone and not to the parent or an earlier
// run. Its time is taken inside the child, from start() to finished(): the program is already up
// when a page downloads. curl's time is the whole process, start included, which is a few
// milliseconds against seconds.

#include "BenchProcess.h"
#include "BenchReport.h"
#include "EventLoopStallMeter.h"
#include "app/Core.h"
#include "download/FileDownload.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {
constexpr double goalSpeedRatio = 0.9;
constexpr qint64 goalPeakMiB = 100;
constexpr double goalStallMs = 50.0;
const QString mapName = QStringLiteral("halvorn-topo-norway.zip");

using BenchProcess::fail;
using BenchProcess::statusKiB;

// The child: one download with FileDownload, then one line on stdout:
// "<seconds> <processor seconds> <longest stall ms> <peak resident KiB> <resident KiB before>".
int runOurDownload(const QUrl &url, const QString &target)
{
    Core::instance();
    FileDownload download;
    download.setUrl(url);
    download.setTargetPath(target);
    EventLoopStallMeter meter;
    QEventLoop loop;
    QString failure;
    QObject::connect(&download, &FileDownload::finished, &loop, &QEventLoop::quit);
    QObject::connect(&download, &FileDownload::failed, &loop, [&](const QString &reason) {
        failure = reason;
        loop.quit();
    });
    const qint64 residentBeforeKiB = statusKiB("VmRSS");
    QElapsedTimer clock;
    const double cpuBefore = BenchReport::processorSeconds();
    meter.start();
    clock.start();
    download.start();
    loop.exec();
    const double seconds = clock.nsecsElapsed() / 1e9;
    const double cpu = BenchReport::processorSeconds() - cpuBefore;
    meter.stop();
    if (!failure.isEmpty()) {
        fail(QStringLiteral("our download failed: %1").arg(failure));
    }
    std::printf("%.6f %.6f %.3f %lld %lld\n", seconds, cpu, meter.longestStallMs(),
                static_cast<long long>(statusKiB("VmHWM")),
                static_cast<long long>(residentBeforeKiB));
    return 0;
}

struct ChildFigures
{
    double seconds = 0.0;
    double cpuSeconds = 0.0;
    double stallMs = 0.0;
    qint64 peakKiB = 0;
    qint64 residentBeforeKiB = 0;
};

ChildFigures runChild(const QUrl &base, const QUrl &url, const QString &target)
{
    const QByteArrayList fields =
        BenchProcess::runSelf(base, BenchProcess::downloadChildArguments(url, target), 5);
    return {fields[0].toDouble(), fields[1].toDouble(), fields[2].toDouble(),
            fields[3].toLongLong(), fields[4].toLongLong()};
}

// The longest stall of this thread's loop while curl runs: what the machine alone costs an idle
// loop, beside which our figure can be read.
double runCurl(const QUrl &url, const QString &target)
{
    double longestStallMs = 0.0;
    if (!BenchReport::runTool(QStringLiteral("curl"),
                              {QStringLiteral("-s"), QStringLiteral("-o"), target, url.toString()},
                              longestStallMs)) {
        fail(QStringLiteral("curl failed"));
    }
    return longestStallMs;
}
} // namespace

int main(int argc, char *argv[])
{
    // A QApplication like the program's own, so the child's memory includes what the program
    // carries anyway.
    QApplication app(argc, argv);
    if (const auto child = BenchProcess::downloadChild()) {
        return runOurDownload(child->first, child->second);
    }

    const BenchReport::Options options = BenchReport::options();
    const QString dir = options.scratch + QStringLiteral("/download-vs-curl");
    const QString dataDir = BenchProcess::serviceDataFolder(options.scratch);
    const QString served = QDir(dataDir).filePath(mapName);
    const QString target = dir + QStringLiteral("/download.zip");

    QProcess service;
    const QUrl serviceUrl = BenchProcess::startService(service, dataDir, options.size);
    const QUrl url = serviceUrl.resolved(QUrl(QStringLiteral("/files/") + mapName));
    const qint64 servedSize = QFileInfo(served).size();

    bool whole = true;
    const auto check = [&] {
        whole = whole && QFileInfo(target).size() == servedSize;
    };
    // The processor time beside the wall time shows what each needed whatever the load.
    QList<double> oursCpuTimes;
    QList<double> referenceCpuTimes;
    double stallMs = 0.0;
    double idleStallMs = 0.0;
    qint64 peakKiB = 0;
    qint64 residentBeforeKiB = 0;
    const QList<QList<double>> seconds = BenchReport::alternate(
        options.runs,
        [&] {
            QFile::remove(target);
            BenchReport::startRun(BenchReport::Cache::Warm, {served});
        },
        {[&] {
             const ChildFigures figures = runChild(serviceUrl, url, target);
             check();
             oursCpuTimes.append(figures.cpuSeconds);
             stallMs = std::max(stallMs, figures.stallMs);
             peakKiB = std::max(peakKiB, figures.peakKiB);
             residentBeforeKiB = std::max(residentBeforeKiB, figures.residentBeforeKiB);
             return figures.seconds;
         },
         [&] {
             const double cpu = BenchReport::processorSeconds(true);
             const double wall = BenchReport::timed(
                 [&] { idleStallMs = std::max(idleStallMs, runCurl(url, target)); });
             referenceCpuTimes.append(BenchReport::processorSeconds(true) - cpu);
             check();
             return wall;
         }});
    QFile::remove(target);
    service.terminate();
    service.waitForFinished();

    const qint64 peakMiB = (peakKiB + 1023) / 1024;
    const auto verdict = [](bool met) {
        return met ? QStringLiteral("met") : QStringLiteral("MISSED");
    };
    QString notes =
        QStringLiteral("%1 MiB over loopback; processor time ours %2 s, curl %3 s; peak resident "
                       "memory of our download %4 MiB (%5 MiB before it started), longest "
                       "event-loop stall %6 ms (%7 ms while curl ran); goals: peak <= %8 MiB %9, "
                       "stall < %10 ms %11")
            .arg(servedSize >> 20)
            .arg(BenchReport::median(oursCpuTimes), 0, 'f', 3)
            .arg(BenchReport::median(referenceCpuTimes), 0, 'f', 3)
            .arg(peakMiB)
            .arg(residentBeforeKiB >> 10)
            .arg(stallMs, 0, 'f', 1)
            .arg(idleStallMs, 0, 'f', 1)
            .arg(goalPeakMiB)
            .arg(verdict(peakMiB <= goalPeakMiB))
            .arg(goalStallMs, 0, 'f', 0)
            .arg(verdict(stallMs < goalStallMs));
    if (!whole) {
        notes += QStringLiteral("; A DOWNLOAD CAME OUT SHORT");
    }
    BenchReport::printComparison(QStringLiteral("download-vs-curl"), seconds[0], seconds[1], notes,
                                 goalSpeedRatio);
    return 0;
}
