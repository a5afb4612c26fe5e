#include "TestMain.h"
#include "app/Core.h"
#include "platform/WineEnvironment.h"
#include "platform/platform.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>

namespace {

// Wine's user.reg as Wine writes it: ASCII, with escapes.
const char kUserRegistry[] = R"([Software\\Wine\\Explorer\\Shell Folders] 1796574931
"AppData"="C:\\users\\wrong\\AppData\\Roaming"

[Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders] 1796574931
#time=1dd859fcf206f10
"Administrative Tools"="C:\\users\\Ana L\x00facia\\AppData\\Roaming\\Admin"
"appdata"="C:\\users\\Ana L\x00facia \101\\AppData\\Roaming"
)";

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
           file.write(content) == content.size();
}

} // namespace

class TestWineEnvironment : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void launchesThroughThePrefix_data();
    void launchesThroughThePrefix();
    void toolsNeedWineAndAnExistingPrefix();
    void roamingFolderComesFromThePrefix_data();
    void roamingFolderComesFromThePrefix();
    void mapsGoWhereTheWindowsProgramsLook();
};

void TestWineEnvironment::launchesThroughThePrefix_data()
{
    QTest::addColumn<QString>("wine");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("command"); // empty: nothing can be started
    const QString wine = QStringLiteral("/usr/bin/wine");
    const auto row = [](const char *name, const QString &wine, const char *program,
                        const QStringList &command) {
        QTest::newRow(name) << wine << program << command;
    };
    row("quoted BaseCamp", wine, "\"C:/Program Files (x86)/Garmin/BaseCamp/BaseCamp.exe\"",
        {wine, "/p/drive_c/Program Files (x86)/Garmin/BaseCamp/BaseCamp.exe"});
    row("another drive", wine, "E:/Maps", {"/p/dosdevices/e:/Maps"});
    row("no slash after the drive", wine, "C:x.exe", {wine, "C:x.exe"});
    row("Linux installer, upper-case extension", wine, "/home/ann/INSTALL.EXE",
        {wine, "/home/ann/INSTALL.EXE"});
    row("Windows program without Wine", QString(), "C:/BaseCamp.exe", {});
    row("only quotes", wine, "\"\"", {});
}

void TestWineEnvironment::launchesThroughThePrefix()
{
    QFETCH(QString, wine);
    QFETCH(QString, program);
    const auto launch = WineEnvironment(QStringLiteral("/p/"), wine).launchCommand(program);
    QTEST(launch ? QStringList{launch->program} + launch->arguments : QStringList(), "command");
}

// Running a Wine tool against a missing prefix would create one in the user's home.
void TestWineEnvironment::toolsNeedWineAndAnExistingPrefix()
{
    const QString prefix = QDir::homePath() + QStringLiteral("/prefix");
    const QString wine = QStringLiteral("/usr/bin/wine");
    QVERIFY(!WineEnvironment(prefix, wine).hasPrefix());
    QVERIFY(QDir().mkpath(prefix + QStringLiteral("/drive_c")));
    QVERIFY(WineEnvironment(prefix, wine).hasPrefix());
    QVERIFY(!WineEnvironment(prefix, QString()).hasPrefix());
}

// Wine's registry names the folder when it has one: mapsGoWhereTheWindowsProgramsLook reads it.
void TestWineEnvironment::roamingFolderComesFromThePrefix_data()
{
    QTest::addColumn<QStringList>("users"); // folders under drive_c/users with AppData/Roaming
    QTest::addColumn<QString>("expected");  // under the prefix; empty: none found
    // The Windows user is never the Linux one here, so a guess from the Linux name fails.
    QTest::newRow("one user") << QStringList{"Public", "winuser"}
                              << "drive_c/users/winuser/AppData/Roaming";
    QTest::newRow("two users") << QStringList{"ann", "bob"} << "";
    QTest::newRow("only Public") << QStringList{"Public"} << "";
}

void TestWineEnvironment::roamingFolderComesFromThePrefix()
{
    QFETCH(QStringList, users);
    QFETCH(QString, expected);
    const QString prefix = QDir::homePath() + QStringLiteral("/") + QTest::currentDataTag();
    for (const QString &user : users) {
        QVERIFY(QDir().mkpath(prefix + "/drive_c/users/" + user + "/AppData/Roaming"));
    }
    const QString folder = WineEnvironment(prefix, "/usr/bin/wine").roamingAppDataFolder();
    QCOMPARE(folder, expected.isEmpty() ? QString() : prefix + '/' + expected);
}

// The install, the uninstall, the discovery of installed maps and the hand-off to Garmin's
// programs all take the maps folder from Core.
void TestWineEnvironment::mapsGoWhereTheWindowsProgramsLook()
{
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    const QString prefix = QDir::homePath() + QStringLiteral("/wine prefix");
    const QString bin = QDir::homePath() + QStringLiteral("/bin");
    QVERIFY(QDir().mkpath(prefix + "/drive_c/users/Public"));
    QVERIFY(writeFile(bin + "/wine", "#!/bin/sh\n"));
    QVERIFY(QFile::setPermissions(bin + "/wine", QFile::ReadOwner | QFile::ExeOwner));
    const QByteArray path = qgetenv("PATH");
    qputenv("WINEPREFIX", QFile::encodeName(prefix));
    qputenv("PATH", QFile::encodeName(bin) + ':' + path);
    const auto restore = qScopeGuard([path] {
        qunsetenv("WINEPREFIX");
        qputenv("PATH", path);
    });

    // Without Wine's registry or a user folder there is nothing to go by.
    QCOMPARE(Core::garminMapsFolder(), dataHome + "/Garmin/Maps");
    QVERIFY(writeFile(prefix + "/user.reg", kUserRegistry));
    QCOMPARE(Core::garminMapsFolder(),
             prefix + QStringLiteral("/drive_c/users/Ana Lúcia A/AppData/Roaming/Garmin/Maps"));
}

HALVORNSYNC_TEST_MAIN(TestWineEnvironment)
#include "tst_wineenvironment.moc"
