#pragma once

#include <QTemporaryDir>

#include <optional>

// Gives the process (a test, or the page tour) a fresh, empty home of its own (HOME, the XDG
// folders and TMPDIR), so the Garmin maps folder, the download folder and temporary files never
// touch the real user's, and points the vendor service address at a closed loopback port until
// a test starts its own. Must exist before the application object.
class TestSandbox
{
public:
    // `name` begins the home's folder name; the tour's pictures show it in the paths they give.
    explicit TestSandbox(const QString &name = QStringLiteral("halvornsync-test"));

    bool isValid() const { return m_dir.isValid(); }

    // Installs a map into the running program's Garmin maps folder: `folder` with an Info.xml
    // naming its family and `name`, which carries its version.
    static bool addInstalledMap(const QString &folder, int familyId, const QString &name = {});
    // The folder `name` of the home standing for a card (see FakePlatform::insertCard), holding
    // a map image of `familyId`, or blank without one.
    static QString makeCard(const QString &name, std::optional<int> familyId);

private:
    QTemporaryDir m_dir;
};
