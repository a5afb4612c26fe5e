#include "TourPlatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TourPlatform::TourPlatform()
    : m_driveC(QDir::homePath() + QStringLiteral("/drive_c"))
{
    Platform::setInstance(this);
}

TourPlatform::~TourPlatform()
{
    Platform::setInstance(nullptr);
}

QString TourPlatform::baseCampExecutable() const
{
    return nativePath(QStringLiteral("C:/Program Files (x86)/Garmin/BaseCamp/BaseCamp.exe"));
}

bool TourPlatform::setBaseCamp(const QVersionNumber &version)
{
    m_baseCampVersion = version;
    const QString executable = baseCampExecutable();
    if (version.isNull()) {
        return !QFileInfo::exists(executable) || QFile::remove(executable);
    }
    QFile file(executable);
    return QDir().mkpath(QFileInfo(executable).path()) && file.open(QIODevice::WriteOnly);
}

std::optional<QVersionNumber> TourPlatform::executableFileVersion(const QString &path) const
{
    if (path == baseCampExecutable() && !m_baseCampVersion.isNull()) {
        return m_baseCampVersion;
    }
    return std::nullopt;
}

void TourPlatform::closeBaseCamp(QObject *context, std::function<void()> done)
{
    finishLater(context, std::move(done));
}

void TourPlatform::writeBaseCampDetail(QObject *context, std::function<void()> done)
{
    finishLater(context, std::move(done));
}

bool TourPlatform::startDetached(const QString &)
{
    return true;
}

QString TourPlatform::nativePath(const QString &windowsPath) const
{
    if (windowsPath.startsWith(QLatin1String("C:/"), Qt::CaseInsensitive)) {
        return m_driveC + windowsPath.mid(2);
    }
    return windowsPath;
}
