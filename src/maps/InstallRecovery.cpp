#include "maps/InstallRecovery.h"

#include "app/SupportLog.h"
#include "maps/MapInstaller.h"

#include <QDir>

QString InstallRecovery::settle(const QString &mapsFolder)
{
    const MapInstaller::Recovery recovery = MapInstaller(mapsFolder).recover();
    if (recovery.kept.isEmpty()) {
        return QString();
    }
    SupportLog::write(QStringLiteral("recovery: kept ") + recovery.kept.join(u", "));
    return keptText(recovery.kept);
}

QString InstallRecovery::keptText(const QStringList &kept)
{
    QString folders;
    for (const QString &path : kept) {
        folders +=
            QStringLiteral("<br/><b>%1</b>").arg(QDir::toNativeSeparators(path).toHtmlEscaped());
    }
    return tr("A map installation could not be completed, and not every map could be put back in "
              "its place. Nothing was deleted: these folders were kept as they are:%1")
        .arg(folders);
}
