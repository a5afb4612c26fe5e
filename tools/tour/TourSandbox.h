#pragma once

#include <QTemporaryDir>

// A home of the tour's own (HOME, the XDG folders, TMPDIR), so the program it drives finds the
// sample maps there and never touches the real user's files. Must exist before the application
// object.
class TourSandbox
{
public:
    TourSandbox();

    bool isValid() const { return m_dir.isValid(); }

    // Installs sample vendor maps into the Garmin maps folder of the running program, each a
    // folder with an Info.xml naming its family and version.
    static bool addInstalledMap(const QString &folder, int familyId, const QString &name);

    // A folder standing for a preprogrammed card in the drive, with the card's map
    // (garmin/gmapsupp.img) or blank; the same folder each time.
    static QString insertCard(bool withMap);

private:
    QTemporaryDir m_dir;
};
