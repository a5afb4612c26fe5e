#include "FakePlatform.h"

#include "platform/PeVersionReader.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

FakePlatform::FakePlatform()
    : driveC(QDir::homePath() + QStringLiteral("/drive_c"))
{
    Platform::setInstance(this);
}

void FakePlatform::preventSleep()
{
    keptAwake = true;
}

void FakePlatform::allowSleep()
{
    keptAwake = false;
}

std::optional<QVersionNumber> FakePlatform::executableFileVersion(const QString &path) const
{
    if (fileVersions.contains(path)) {
        return fileVersions.value(path);
    }
    return PeVersionReader::fromFile(path);
}

void FakePlatform::closeBaseCamp(QObject *context, std::function<void()> done)
{
    calls.append(QStringLiteral("closeBaseCamp"));
    ++baseCampCloses;
    report(context, std::move(done));
}

void FakePlatform::writeBaseCampDetail(QObject *context, std::function<void()> done)
{
    calls.append(QStringLiteral("writeBaseCampDetail"));
    ++detailWrites;
    report(context, std::move(done));
}

bool FakePlatform::startDetached(const QString &program)
{
    calls.append(QStringLiteral("startDetached ") + program);
    startedPrograms.append(program);
    return true;
}

QString FakePlatform::nativePath(const QString &windowsPath) const
{
    if (windowsPath.startsWith(QLatin1String("C:/"), Qt::CaseInsensitive)) {
        return driveC + windowsPath.mid(2);
    }
    return windowsPath;
}

bool FakePlatform::removeFolder(const QString &path)
{
    return !undeletableFolders.contains(QFileInfo(path).fileName()) && Platform::removeFolder(path);
}

void FakePlatform::report(QObject *context, std::function<void()> done)
{
    if (holdReports) {
        m_heldReports.append({context, std::move(done)});
        return;
    }
    finishLater(context, std::move(done));
}

void FakePlatform::releaseHeldReports()
{
    const auto held = std::exchange(m_heldReports, {});
    for (const auto &[context, done] : held) {
        if (context) {
            finishLater(context, done);
        }
    }
}

qint64 FakePlatform::bytesAvailable(const QString &path) const
{
    spaceQueries.append(path);
    return freeBytes ? *freeBytes : Platform::bytesAvailable(path);
}
