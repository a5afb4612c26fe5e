#pragma once

#include <QString>
#include <QVersionNumber>

// Finds Garmin BaseCamp and Garmin MapInstall in their Windows program folders and checks that
// BaseCamp is recent enough. The paths are Windows paths wrapped in double quotes, ready to be
// started as they stand; they are set by the first successful check and then kept, whichever
// folder later checks find.
class GarminApplications
{
public:
    static QVersionNumber minimumBaseCampVersion() { return QVersionNumber(4, 6, 2); }

    // True when BaseCamp 4.6.2 or later is installed. BaseCamp under "Program Files (x86)" is
    // the one checked whenever it exists there, even when a newer one lies under
    // "Program Files".
    bool checkBaseCamp();

    QString baseCampPath() const { return m_baseCampPath; }
    QString mapInstallPath() const { return m_mapInstallPath; }

private:
    void rememberPaths(QString baseCampFolder);

    QString m_baseCampPath;
    QString m_mapInstallPath;
};
