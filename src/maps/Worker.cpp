#include "maps/Worker.h"

#include "app/SupportLog.h"
#include "platform/platform.h"

namespace {

// The folder to delete, or empty when `mapName` could reach anything but one folder directly
// inside the maps folder: the maps folder itself, its parent, or somewhere else altogether.
QString mapFolder(const QString &mapsFolder, const QString &mapName)
{
    // QDir would read an empty maps folder as the working directory.
    if (mapsFolder.isEmpty() || mapName.isEmpty() || mapName == QLatin1String(".") ||
        mapName == QLatin1String("..") || mapName.contains(QLatin1Char('/')) ||
        mapName.contains(QLatin1Char('\\'))) {
        return QString();
    }
    // Joined as two components, never by substituting one text into the other: a "%2" in the
    // maps folder's own path must not turn into the map's name.
    return mapsFolder + QLatin1Char('/') + mapName;
}

} // namespace

Worker::Worker(const QString &mapsFolder, QObject *parent)
    : QObject(parent)
    , m_mapsFolder(mapsFolder)
{
}

void Worker::doWork(const QString &mapName)
{
    const QString folder = mapFolder(m_mapsFolder, mapName);
    const bool removed = !folder.isEmpty() && Platform::instance()->removeFolder(folder);
    SupportLog::write(
        QStringLiteral("uninstall: %1: %2").arg(mapName, removed ? "removed" : "not removed"));
    Q_EMIT resultReady(removed ? mapName : QString());
}
