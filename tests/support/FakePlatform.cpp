#include "FakePlatform.h"

#include "platform/PeVersionReader.h"

#include <QDir>

FakePlatform::FakePlatform()
    : driveC(QDir::homePath() + QStringLiteral("/drive_c"))
{
    Platform::setInstance(this);
}

void FakePlatform::preventSleep()
{
    keptAwake = true;
    ++preventSleepCalls;
}

void FakePlatform::allowSleep()
{
    keptAwake = false;
    ++allowSleepCalls;
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
    finishLater(context, std::move(done));
}

void FakePlatform::writeBaseCampDetail(QObject *context, std::function<void()> done)
{
    calls.append(QStringLiteral("writeBaseCampDetail"));
    ++detailWrites;
    finishLater(context, std::move(done));
}

bool FakePlatform::startDetached(const QString &program)
{
    calls.append(QStringLiteral("startDetached ") + program);
    startedPrograms.append(program);
    return startSucceeds;
}

QString FakePlatform::nativePath(const QString &windowsPath) const
{
    if (windowsPath.startsWith(QLatin1String("C:/"), Qt::CaseInsensitive)) {
        return driveC + windowsPath.mid(2);
    }
    return windowsPath;
}
