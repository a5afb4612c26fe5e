#pragma once

#include <QCoreApplication>
#include <QStringList>

// What the user is told about maps that an interrupted or failed computer map install could not
// put back in their place. Shown by the pages; the installer itself only names the folders.
class InstallRecovery
{
    Q_DECLARE_TR_FUNCTIONS(InstallRecovery)

public:
    // Settles what an interrupted install left in `mapsFolder`. Empty when nothing is left set
    // aside (or the maps folder is unknown); otherwise the message that names what was kept where.
    static QString settle(const QString &mapsFolder);
    // The message that names the folders kept where they are.
    static QString keptText(const QStringList &kept);
};
