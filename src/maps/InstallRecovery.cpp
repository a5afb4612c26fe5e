#include "maps/InstallRecovery.h"

#include "maps/MapInstaller.h"

#include <QDir>

QString InstallRecovery::settle(const QString &mapsFolder)
{
    const MapInstaller::Recovery recovery = MapInstaller(mapsFolder).recover();
    return recovery.kept.isEmpty() ? QString() : keptText(recovery.kept);
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
