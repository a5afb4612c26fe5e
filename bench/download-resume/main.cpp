// A map from the stand-in vendor service whose first download breaks off at half its size, then
// continued: by FileDownload as a download page does it (the size query, an attempt that fails,
// a new attempt that continues the file), against `curl -s -o FILE URL`, which breaks off too,
// followed by `curl -s -C - -o FILE URL`. Each run asks for an address of its own, which the
// service breaks off once. Beside the ratio it prints the bytes fetched over both attempts as a
// multiple of the map, the peak resident memory of our download and the longest stall of the
// event loop that receives it.
//
// Our download runs in a child process (see BenchProcess); its time is taken inside it, from the
// size query to finished(). curl's is that of both processes, start included.

#include "BenchProcess.h"
#include "BenchReport.h"
#include "EventLoopStallMeter.h"
#include "app/Core.h"
#include "download/FileDownload.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {
constexpr double goalSpeedRatio = 0.9;
constexpr double goalFetched = 1.05;
const QString mapName = QStringLiteral("halvorn-topo-norway-drop-half.zip");

// The child: the size query, the attempt that breaks off, the one that continues; then one line:
// "<seconds> <longest stall ms> <peak resident KiB> <bytes fetched>".
int runOurDownload(const QUrl &url, const QString &target)
{
    Core::instance();
    FileDownload download;
    download.setUrl(url);
    download.setTargetPath(target);
    EventLoopStallMeter meter;
    QEventLoop loop;
    int failures = 0;
    qint64 fetched = 0;
    QObject::connect(&download, &FileDownload::sizeKnown, &download, &FileDownload::start);
    QObject::connect(&download, &FileDownload::sizeQueryFailed, &loop, [](const QString &why) {
        BenchProcess::fail(QStringLiteral("the size query failed: %1").arg(why));
    });
    QObject::connect(&download, &FileDownload::failed, &loop, [&](const QString &reason) {
        if (++failures > 1) {
            BenchProcess::fail(QStringLiteral("our download failed again: %1").arg(reason));
        }
        fetched += download.bytesReceived() - download.resumedFrom();
        // What the page's YES does, from the event loop.
        QMetaObject::invokeMethod(&download, &FileDownload::start, Qt::QueuedConnection);
    });
    QObject::connect(&download, &FileDownload::finished, &loop, [&] {
        fetched += download.bytesReceived() - download.resumedFrom();
        loop.quit();
    });
    QElapsedTimer clock;
    meter.start();
    clock.start();
    download.askFileSize();
    loop.exec();
    const double seconds = clock.nsecsElapsed() / 1e9;
    meter.stop();
    if (failures != 1) {
        BenchProcess::fail(QStringLiteral("the service did not break the first download off"));
    }
    std::printf("%.6f %.3f %lld %lld\n", seconds, meter.longestStallMs(),
                static_cast<long long>(BenchProcess::statusKiB("VmHWM")),
                static_cast<long long>(fetched));
    return 0;
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
    const QString dataDir = BenchProcess::serviceDataFolder(options.scratch);
    const QString target = options.scratch + QStringLiteral("/download-resume.zip");
    QProcess service;
    const QUrl serviceUrl = BenchProcess::startService(service, dataDir, options.size);
    const qint64 mapSize = QFileInfo(dataDir + QStringLiteral("/halvorn-topo-norway.zip")).size();

    int run = 0;
    // A new address each time: the service breaks each address's first download off.
    const auto nextUrl = [&] {
        return serviceUrl.resolved(
            QUrl(QStringLiteral("/files/%1?run=%2").arg(mapName).arg(++run)));
    };
    bool whole = true;
    double stallMs = 0.0;
    double idleStallMs = 0.0;
    qint64 peakKiB = 0;
    qint64 oursFetched = 0;
    qint64 curlFetched = 0;
    const auto keepMost = [](qint64 &most, qint64 value) {
        most = std::max(most, value);
    };
    const QList<QList<double>> seconds = BenchReport::alternate(
        options.runs,
        [&] {
            QFile::remove(target);
            QFile::remove(target + QStringLiteral(".resume"));
            BenchReport::startRun(BenchReport::Cache::Warm,
                                  {dataDir + QStringLiteral("/halvorn-topo-norway.zip")});
        },
        {[&] {
             const QByteArrayList fields = BenchProcess::runSelf(
                 serviceUrl, BenchProcess::downloadChildArguments(nextUrl(), target), 4);
             whole = whole && QFileInfo(target).size() == mapSize;
             stallMs = std::max(stallMs, fields[1].toDouble());
             keepMost(peakKiB, fields[2].toLongLong());
             keepMost(oursFetched, fields[3].toLongLong());
             return fields[0].toDouble();
         },
         [&] {
             // The first curl ends with "partial file" (18); the second's code is the shell's.
             const QString both =
                 QStringLiteral("curl -s -o \"$1\" -w '%{size_download} ' \"$2\"; "
                                "curl -s -C - -o \"$1\" -w '%{size_download}' \"$2\"");
             std::optional<QByteArray> output;
             const double wall = BenchReport::timed([&] {
                 output = BenchReport::runTool(QStringLiteral("sh"),
                                               {QStringLiteral("-c"), both, QStringLiteral("sh"),
                                                target, nextUrl().toString()},
                                               idleStallMs);
             });
             if (!output) {
                 BenchProcess::fail(QStringLiteral("curl failed"));
             }
             const QList<QByteArray> sizes = output->trimmed().split(' ');
             keepMost(curlFetched, sizes.value(0).toLongLong() + sizes.value(1).toLongLong());
             whole = whole && QFileInfo(target).size() == mapSize;
             return wall;
         }});
    QFile::remove(target);
    QFile::remove(target + QStringLiteral(".resume"));
    service.terminate();
    service.waitForFinished();

    const double oursShare = double(oursFetched) / double(mapSize);
    QString notes =
        QStringLiteral("%1 MiB over loopback, broken off at half; bytes fetched over both "
                       "attempts ours %2 x the map, curl %3 x (goal <= %4 %5); peak resident "
                       "memory of our download %6 MiB; longest event-loop stall %7 ms (%8 ms "
                       "while curl ran)")
            .arg(mapSize >> 20)
            .arg(oursShare, 0, 'f', 3)
            .arg(double(curlFetched) / double(mapSize), 0, 'f', 3)
            .arg(goalFetched, 0, 'f', 2)
            .arg(oursShare <= goalFetched ? QStringLiteral("met") : QStringLiteral("MISSED"))
            .arg((peakKiB + 1023) / 1024)
            .arg(stallMs, 0, 'f', 1)
            .arg(idleStallMs, 0, 'f', 1);
    if (!whole) {
        notes += QStringLiteral("; A DOWNLOAD CAME OUT SHORT");
    }
    BenchReport::printComparison(QStringLiteral("download-resume"), seconds[0], seconds[1], notes,
                                 goalSpeedRatio);
    return 0;
}
