#include "PageSteps.h"

#include "EventLoopStallMeter.h"
#include "copier/FileCopier.h"

#include <QEventLoop>
#include <QFileInfo>

#include <algorithm>

namespace PageSteps {

bool copy(const QString &source, const QString &destination, double &longestStallMs)
{
    FileCopier copier;
    EventLoopStallMeter meter;
    QEventLoop loop;
    bool failed = true;
    QObject::connect(&copier, &FileCopier::done, &loop, [&](bool error) {
        failed = error;
        loop.quit();
    });
    meter.start();
    copier.copy(source, destination, FileCopier::NonInteractive | FileCopier::ForceReplace);
    loop.exec();
    meter.stop();
    longestStallMs = std::max(longestStallMs, meter.longestStallMs());
    return !failed && QFileInfo(destination).size() == QFileInfo(source).size();
}

bool checksum(const QString &path, const QString &expectedMd5, double &longestStallMs,
              CheckMd5Worker::ReadFrom readFrom)
{
    CheckMd5Worker check(nullptr, path, expectedMd5, readFrom);
    EventLoopStallMeter meter;
    QEventLoop loop;
    bool matches = false;
    QObject::connect(&check, &CheckMd5Worker::resultReady, &loop,
                     [&](bool result) { matches = result; });
    QObject::connect(&check, &QThread::finished, &loop, &QEventLoop::quit);
    meter.start();
    check.start();
    loop.exec();
    meter.stop();
    check.wait();
    longestStallMs = std::max(longestStallMs, meter.longestStallMs());
    return matches;
}

} // namespace PageSteps
