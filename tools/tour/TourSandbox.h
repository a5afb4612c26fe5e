#pragma once

#include <QTemporaryDir>

#include <optional>

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

    // The folder `name` of the home standing for a preprogrammed card, holding a map of family
    // `familyId` (garmin/gmapsupp.img), or blank without one.
    static QString makeCard(const QString &name, std::optional<int> familyId);

private:
    QTemporaryDir m_dir;
};
