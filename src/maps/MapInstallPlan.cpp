#include "maps/MapInstallPlan.h"

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
