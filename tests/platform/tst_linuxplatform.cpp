#include "TestFiles.h"
#include "TestMain.h"
#include "app/Core.h"
#include "platform/BoundedProcess.h"
#include "platform/SysfsCardReaders.h"
#include "platform/WineEnvironment.h"
#include "platform/platform.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <pwd.h>
#include <unistd.h>

namespace {

// Wine's user.reg as Wine writes it: ASCII, with escapes.
const char kUserRegistry[] = R"([Software\\Wine\\Explorer\\Shell Folders] 1796574931
"AppData"="C:\\users\\wrong\\AppData\\Roaming"

[Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders] 1796574931
#time=1dd859fcf206f10
"Administrative Tools"="C:\\users\\Ana L\x00facia\\AppData\\Roaming\\Admin"
"appdata"="C:\\users\\Ana L\x00facia \101\\AppData\\Roaming"
)";

// The Linux user's name, as Wine takes it.
QString linuxUser()
{
    const passwd *account = ::getpwuid(::getuid());
    return account ? QString::fromLocal8Bit(account->pw_name) : qEnvironmentVariable("USER");
}

// Until the guard goes: `wine` on the PATH is a stand-in of the test's own, or missing, and
// $WINEPREFIX names `prefix` below the home, or is unset.
auto useWine(bool installed, const QString &prefix)
{
    const QString bin = QDir::homePath() + (installed ? "/bin" : "/no-wine");
    if (installed && (!TestFiles::write(bin + "/wine", "#!/bin/sh\n") ||
                      !QFile::setPermissions(bin + "/wine", QFile::ReadOwner | QFile::ExeOwner))) {
        qFatal("cannot write the stand-in wine");
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin));
    if (!prefix.isEmpty()) {
        qputenv("WINEPREFIX", QFile::encodeName(QDir::homePath() + '/' + prefix));
    }
    return qScopeGuard([path] {
        qunsetenv("WINEPREFIX");
        qputenv("PATH", path);
    });
}

} // namespace

// What the Linux platform makes of the system: card readers in sysfs, Wine, bounded tools.
class TestLinuxPlatform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cardReaders_data();
    void cardReaders();
    void launchesThroughThePrefix_data();
    void launchesThroughThePrefix();
    void toolsNeedWineAndAnExistingPrefix();
    void mapsFolder_data();
    void mapsFolder();
    void reportsOnceHowTheToolEnded_data();
    void reportsOnceHowTheToolEnded();
    void goneContextHearsNothing();
};

// Made-up sysfs trees shaped like real ones: class/block/<name> links into the hardware tree,
// where a partition sits inside its disk.
void TestLinuxPlatform::cardReaders_data()
{
    QTest::addColumn<QString>("diskPath"); // below devices/, ending in the disk's name
    QTest::addColumn<QString>("removable");
    QTest::addColumn<QString>("device"); // as the volume names it
    QTest::addColumn<bool>("cardReader");
    QTest::addColumn<QString>("mmcType"); // an MMC device's device/type; empty: none

    const auto row = [](const char *name, const QString &diskPath, const char *removable,
                        const char *device, bool cardReader, const char *mmcType = "") {
        QTest::newRow(name) << diskPath << removable << device << cardReader << mmcType;
    };
    const QString usbDisk = QStringLiteral(
        "pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/sdb");
    const QString sataDisk =
        QStringLiteral("pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/block/sda");
    row("USB reader reporting a fixed disk", usbDisk, "0", "/dev/sdb", true);
    row("removable flag", sataDisk, "1", "/dev/sda1", true);
    const QString mmc =
        QStringLiteral("pci0000:00/0000:00:1a.0/mmc_host/mmc0/mmc0:0001/block/mmcblk0");
    row("built-in SD slot that says not removable", mmc, "0", "/dev/mmcblk0p1", true, "SD");
    // Often the system disk of a tablet or small laptop.
    row("soldered-in eMMC", mmc, "0", "/dev/mmcblk0p1", false, "MMC");
    row("MMC device that does not say what it is", mmc, "0", "/dev/mmcblk0p1", false);
    row("internal disk", sataDisk, "0", "/dev/sda1", false);
    row("device sysfs does not know", sataDisk, "1", "/dev/sdz1", false);
}

void TestLinuxPlatform::cardReaders()
{
    QFETCH(QString, diskPath);
    QFETCH(QString, removable);
    QFETCH(QString, device);
    QFETCH(bool, cardReader);
    QFETCH(QString, mmcType);
    QTemporaryDir sys;
    const QString disk = sys.filePath(QStringLiteral("devices/") + diskPath);
    const QString diskName = QFileInfo(disk).fileName();
    const QString partition =
        diskName + (diskName.startsWith(QLatin1String("mmcblk")) ? "p1" : "1");
    const QDir classBlock(sys.filePath(QStringLiteral("class/block")));
    QVERIFY(QDir().mkpath(classBlock.path()));
    QVERIFY(TestFiles::write(disk + "/removable", removable.toLatin1() + '\n'));
    QVERIFY(TestFiles::write(disk + '/' + partition + "/partition", "1\n"));
    if (!mmcType.isEmpty()) {
        // As in /sys, the disk's "device" links to the card it reads, which says its type.
        QVERIFY(TestFiles::write(disk + "/../../type", mmcType.toLatin1() + '\n'));
        QVERIFY(QFile::link(QStringLiteral("../.."), disk + "/device"));
    }
    // As in /sys, the links are relative.
    for (const QString &target : {disk, disk + '/' + partition}) {
        QVERIFY(QFile::link(classBlock.relativeFilePath(target),
                            classBlock.filePath(QFileInfo(target).fileName())));
    }

    QCOMPARE(SysfsCardReaders(sys.path()).isCardReader(device), cardReader);
}

void TestLinuxPlatform::launchesThroughThePrefix_data()
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

void TestLinuxPlatform::launchesThroughThePrefix()
{
    QFETCH(QString, wine);
    QFETCH(QString, program);
    const auto launch = WineEnvironment(QStringLiteral("/p/"), wine).launchCommand(program);
    QTEST(launch ? QStringList{launch->program} + launch->arguments : QStringList(), "command");
}

// Running a Wine tool against a missing prefix (our maps folder alone) would make one.
void TestLinuxPlatform::toolsNeedWineAndAnExistingPrefix()
{
    const QString prefix = QDir::homePath() + QStringLiteral("/prefix");
    const QString wine = QStringLiteral("/usr/bin/wine");
    QVERIFY(QDir().mkpath(prefix + QStringLiteral("/drive_c/users/ann/AppData/Roaming/Garmin")));
    QVERIFY(!WineEnvironment(prefix, wine).hasPrefix());
    QVERIFY(QDir().mkpath(prefix + QStringLiteral("/dosdevices")));
    QVERIFY(WineEnvironment(prefix, wine).hasPrefix());
    QVERIFY(!WineEnvironment(prefix, QString()).hasPrefix());
}

void TestLinuxPlatform::mapsFolder_data()
{
    QTest::addColumn<bool>("wine");
    QTest::addColumn<QString>("prefix");    // $WINEPREFIX below the home; empty: unset
    QTest::addColumn<bool>("registry");     // the prefix is made before the run, naming its user
    QTest::addColumn<QStringList>("users"); // with a roaming folder in the prefix before the run
    QTest::addColumn<QString>("expected");  // below the home; %1 is the Linux user
    const QString roaming = "/drive_c/users/%1/AppData/Roaming/Garmin/Maps";
    const QStringList none;
    QTest::newRow("no Wine") << false << "n" << false << none << ".local/share/Garmin/Maps";
    // Where Garmin's programs will look once their installer has made the prefix.
    QTest::newRow("Wine, no prefix yet") << true << "" << false << none << ".wine" + roaming;
    QTest::newRow("Wine, $WINEPREFIX not made yet")
        << true << "p" << false << none << "p" + roaming;
    QTest::newRow("Wine, $WINEPREFIX whose registry names its user")
        << true << "q" << true << none << "q/drive_c/users/Ana Lúcia A/AppData/Roaming/Garmin/Maps";
    // Before Wine has written its registry, the prefix's only user tells, whatever its name.
    QTest::newRow("Wine, no registry yet, one user")
        << true << "r" << false << QStringList{"Public", "winuser"}
        << "r/drive_c/users/winuser/AppData/Roaming/Garmin/Maps";
    QTest::newRow("Wine, no registry yet, two users")
        << true << "s" << false << QStringList{"winuser1", "winuser2"} << "s" + roaming;
    QTest::newRow("Wine, no registry yet, only Public")
        << true << "t" << false << QStringList{"Public"} << "t" + roaming;
}

// Decided when the language is chosen, the folder stays when BaseCamp's installer makes the Wine
// prefix halfway through the run: install, uninstall and hand-off find the maps found at first.
void TestLinuxPlatform::mapsFolder()
{
    QFETCH(bool, wine);
    QFETCH(QString, prefix);
    QFETCH(bool, registry);
    const auto restore = useWine(wine, prefix);
    const QDir made(QDir::homePath() + '/' + (prefix.isEmpty() ? ".wine" : prefix));
    QVERIFY(!registry || (made.mkpath("dosdevices") &&
                          TestFiles::write(made.filePath("user.reg"), kUserRegistry)));
    QFETCH(QStringList, users);
    for (const QString &user : users) {
        QVERIFY(made.mkpath("drive_c/users/" + user + "/AppData/Roaming"));
    }
    Core::instance()->decideGarminMapsFolder();
    const QString found = Core::garminMapsFolder();

    // As Wine makes a prefix, for the Linux user (its registry follows when its server stops).
    QVERIFY(made.mkpath("dosdevices") &&
            made.mkpath("drive_c/users/" + linuxUser() + "/AppData/Roaming"));
    QCOMPARE(Core::garminMapsFolder(), found);
    QFETCH(QString, expected);
    QCOMPARE(found, QDir::homePath() + '/' + expected.arg(linuxUser()));
}

// Small programs of the test's own stand for the tools; never the real machine's.
void TestLinuxPlatform::reportsOnceHowTheToolEnded_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("limitMs");
    QTest::addColumn<bool>("succeeded");
    const QString sh = "/bin/sh";
    QTest::newRow("exit 0") << sh << QStringList{"-c", "exit 0"} << 30000 << true;
    QTest::newRow("exit 3") << sh << QStringList{"-c", "exit 3"} << 30000 << false;
    QTest::newRow("missing program")
        << "/nonexistent/halvornsync-no-such-tool" << QStringList() << 30000 << false;
    // A hanging tool must not hold the wizard up: the limit ends it, and the report says so.
    QTest::newRow("overrunning its limit") << "/bin/sleep" << QStringList{"600"} << 100 << false;
}

void TestLinuxPlatform::reportsOnceHowTheToolEnded()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(int, limitMs);
    QFETCH(bool, succeeded);
    QObject context;
    QList<bool> reports;
    BoundedProcess::run(
        program, arguments, &context, [&reports](bool ok) { reports.append(ok); },
        std::chrono::milliseconds(limitMs));
    QVERIFY(reports.isEmpty()); // never from inside run()
    QTRY_COMPARE(reports.size(), 1);
    QCOMPARE(reports.first(), succeeded);
}

void TestLinuxPlatform::goneContextHearsNothing()
{
    auto *context = new QObject;
    bool reported = false;
    BoundedProcess::run(QStringLiteral("/bin/sleep"), {QStringLiteral("600")}, context,
                        [&reported](bool) { reported = true; });
    delete context;
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QVERIFY(!reported);
}

HALVORNSYNC_TEST_MAIN(TestLinuxPlatform)
#include "tst_linuxplatform.moc"
