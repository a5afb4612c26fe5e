#include "TestMain.h"
#include "platform/WineEnvironment.h"

#include <QDir>

class TestWineEnvironment : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mapsWindowsPathsIntoThePrefix_data();
    void mapsWindowsPathsIntoThePrefix();
    void launchesWindowsProgramsThroughWine_data();
    void launchesWindowsProgramsThroughWine();
    void prefixComesFromWineprefixElseHome();
    void toolsNeedWineAndAnExistingPrefix();
};

void TestWineEnvironment::mapsWindowsPathsIntoThePrefix_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("windowsPath");
    QTest::addColumn<QString>("expected");
    const QString prefix = QStringLiteral("/home/ann/.wine");
    QTest::newRow("BaseCamp, x86 folder")
        << prefix << "C:/Program Files (x86)/Garmin/BaseCamp/BaseCamp.exe"
        << "/home/ann/.wine/drive_c/Program Files (x86)/Garmin/BaseCamp/BaseCamp.exe";
    QTest::newRow("lower-case drive, backslashes")
        << prefix << "c:\\Program Files\\Garmin\\MapInstall\\MapInstall.exe"
        << "/home/ann/.wine/drive_c/Program Files/Garmin/MapInstall/MapInstall.exe";
    QTest::newRow("doubled slash kept")
        << prefix << "C:/Program Files/Garmin//MapInstall.exe"
        << "/home/ann/.wine/drive_c/Program Files/Garmin//MapInstall.exe";
    QTest::newRow("another drive") << prefix << "E:/Maps/gmapsupp.img"
                                   << "/home/ann/.wine/dosdevices/e:/Maps/gmapsupp.img";
    QTest::newRow("prefix with trailing slash") << "/opt/garmin-prefix/"
                                                << "C:/x.exe"
                                                << "/opt/garmin-prefix/drive_c/x.exe";
    QTest::newRow("Linux path unchanged") << prefix << "/home/ann/Downloads/install_basecamp.exe"
                                          << "/home/ann/Downloads/install_basecamp.exe";
    QTest::newRow("drive letter without a slash unchanged") << prefix << "C:x.exe"
                                                            << "C:x.exe";
    QTest::newRow("relative path unchanged") << prefix << "Garmin/Maps"
                                             << "Garmin/Maps";
}

void TestWineEnvironment::mapsWindowsPathsIntoThePrefix()
{
    QFETCH(QString, prefix);
    QFETCH(QString, windowsPath);
    QFETCH(QString, expected);
    QCOMPARE(WineEnvironment(prefix, QStringLiteral("/usr/bin/wine")).nativePath(windowsPath),
             expected);
}

void TestWineEnvironment::launchesWindowsProgramsThroughWine_data()
{
    QTest::addColumn<QString>("wine");
    QTest::addColumn<QString>("program");
    QTest::addColumn<bool>("starts");
    QTest::addColumn<QString>("expectedProgram");
    QTest::addColumn<QStringList>("expectedArguments");
    const QString wine = QStringLiteral("/usr/bin/wine");
    QTest::newRow("quoted Garmin path")
        << wine << "\"C:/Program Files/Garmin/BaseCamp/BaseCamp.exe\"" << true << wine
        << QStringList{"/p/drive_c/Program Files/Garmin/BaseCamp/BaseCamp.exe"};
    QTest::newRow("installer in the download folder, upper-case extension")
        << wine << "/home/ann/Downloads/INSTALL_BASECAMP.EXE" << true << wine
        << QStringList{"/home/ann/Downloads/INSTALL_BASECAMP.EXE"};
    QTest::newRow("Windows program without Wine")
        << QString() << "\"C:/Garmin/BaseCamp.exe\"" << false << QString() << QStringList();
    QTest::newRow("Linux program without Wine")
        << QString() << "/usr/bin/true" << true << "/usr/bin/true" << QStringList();
    QTest::newRow("empty path") << wine << "" << false << QString() << QStringList();
    QTest::newRow("only quotes") << wine << "\"\"" << false << QString() << QStringList();
}

void TestWineEnvironment::launchesWindowsProgramsThroughWine()
{
    QFETCH(QString, wine);
    QFETCH(QString, program);
    QFETCH(bool, starts);
    QFETCH(QString, expectedProgram);
    QFETCH(QStringList, expectedArguments);
    const auto command = WineEnvironment(QStringLiteral("/p"), wine).launchCommand(program);
    QCOMPARE(command.has_value(), starts);
    if (command) {
        QCOMPARE(command->program, expectedProgram);
        QCOMPARE(command->arguments, expectedArguments);
    }
}

void TestWineEnvironment::prefixComesFromWineprefixElseHome()
{
    const QByteArray previous = qgetenv("WINEPREFIX");
    qputenv("WINEPREFIX", "/srv/prefix");
    const QString fromVariable = WineEnvironment::fromSystem().nativePath(QStringLiteral("C:/a"));
    qunsetenv("WINEPREFIX");
    const QString fromHome = WineEnvironment::fromSystem().nativePath(QStringLiteral("C:/a"));
    if (!previous.isNull()) {
        qputenv("WINEPREFIX", previous);
    }
    QCOMPARE(fromVariable, QStringLiteral("/srv/prefix/drive_c/a"));
    QCOMPARE(fromHome, QDir::homePath() + QStringLiteral("/.wine/drive_c/a"));
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

HALVORNSYNC_TEST_MAIN(TestWineEnvironment)
#include "tst_wineenvironment.moc"
