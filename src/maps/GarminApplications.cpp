#include "maps/GarminApplications.h"

#include "platform/platform.h"

#include <QFileInfo>

namespace {

const QLatin1Char kQuote('"');

bool existsOnThisSystem(const QString &windowsPath)
{
    return QFileInfo::exists(Platform::instance()->nativePath(windowsPath));
}

} // namespace

bool GarminApplications::checkBaseCamp()
{
    QString folder = QStringLiteral("C:/Program Files (x86)/Garmin/BaseCamp");
    if (!existsOnThisSystem(folder + QStringLiteral("/BaseCamp.exe"))) {
        folder = QStringLiteral("C:/Program Files/Garmin/BaseCamp");
        if (!existsOnThisSystem(folder + QStringLiteral("/BaseCamp.exe"))) {
            return false;
        }
    }
    Platform *platform = Platform::instance();
    const std::optional<QVersionNumber> version = platform->executableFileVersion(
        platform->nativePath(folder + QStringLiteral("/BaseCamp.exe")));
    if (!version || QVersionNumber::compare(*version, minimumBaseCampVersion()) < 0) {
        return false;
    }
    if (m_baseCampPath.isEmpty()) {
        rememberPaths(folder);
    }
    return true;
}

void GarminApplications::rememberPaths(QString baseCampFolder)
{
    m_baseCampPath = kQuote + baseCampFolder + QStringLiteral("/BaseCamp.exe") + kQuote;
    // What is left is the Garmin program folder, with its trailing slash.
    const QString garminFolder = baseCampFolder.remove(QStringLiteral("BaseCamp"));
    const QString inItsFolder = garminFolder + QStringLiteral("MapInstall/MapInstall.exe");
    // The fallback is not looked for; its doubled slash is read as one by Windows and Linux.
    m_mapInstallPath =
        kQuote +
        (existsOnThisSystem(inItsFolder) ? inItsFolder
                                         : garminFolder + QStringLiteral("/MapInstall.exe")) +
        kQuote;
}
