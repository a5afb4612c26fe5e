#include "maps/MapInstallPlan.h"

#include "maps/InstalledMaps.h"
#include "maps/MapInfoFile.h"

#include <QFileInfo>

namespace {
QList<MapInstallPlan::Map> readMaps(const QStringList &infoFiles)
{
    QList<MapInstallPlan::Map> maps;
    for (const QString &infoFile : infoFiles) {
        maps.append({QFileInfo(infoFile).path(), MapInfoFile::readId(infoFile)});
    }
    return maps;
}
} // namespace

MapInstallPlan MapInstallPlan::make(const QList<Map> &installed, const QList<Map> &downloaded,
                                    const QList<qint32> &families, const QList<qint32> &withdrawn,
                                    bool allDownloadedBelong)
{
    MapInstallPlan plan;
    for (const Map &map : downloaded) {
        if (allDownloadedBelong || families.contains(map.id)) {
            if (!plan.incoming.contains(map.folder)) {
                plan.incoming.append(map.folder);
            }
        } else if (!plan.dropped.contains(map.folder)) {
            plan.dropped.append(map.folder);
        }
    }
    for (const Map &map : installed) {
        if ((families.contains(map.id) || withdrawn.contains(map.id)) &&
            !plan.superseded.contains(map.folder)) {
            plan.superseded.append(map.folder);
        }
    }
    return plan;
}

MapInstallPlan MapInstallPlan::read(const QString &mapsFolder, const QList<qint32> &families,
                                    const QList<qint32> &withdrawn, bool allDownloadedBelong)
{
    return make(readMaps(InstalledMaps::installedInfoFiles(mapsFolder)),
                readMaps(InstalledMaps::findInfoFiles(InstalledMaps::downloadFolder(mapsFolder))),
                families, withdrawn, allDownloadedBelong);
}
