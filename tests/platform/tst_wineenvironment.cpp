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
    void toolsNeedWineAndAnExistingPrefix();
};

void TestWineEnvironment::mapsWindowsPathsIntoThePrefix_data()
{
    QTest::addColumn<QString>("windowsPath");
    QTest::addColumn<QString>("expected");
    QTest::newRow("BaseCamp") << "C:/Program Files (x86)/Garmin/BaseCamp/BaseCamp.exe"
                              << "/p/drive_c/Program Files (x86)/Garmin/BaseCamp/BaseCamp.exe";
    QTest::newRow("lower-case drive, backslashes") << "c:\\Program Files\\Garmin"
                                                   << "/p/drive_c/Program Files/Garmin";
    QTest::newRow("another drive") << "E:/Maps"
                                   << "/p/dosdevices/e:/Maps";
    QTest::newRow("Linux path") << "/home/ann/Downloads/a.exe"
                                << "/home/ann/Downloads/a.exe";
    QTest::newRow("no slash after the drive") << "C:x.exe"
                                              << "C:x.exe";
}

void TestWineEnvironment::mapsWindowsPathsIntoThePrefix()
{
    QFETCH(QString, windowsPath);
    QFETCH(QString, expected);
    QCOMPARE(WineEnvironment("/p/", "/usr/bin/wine").nativePath(windowsPath), expected);
}

void TestWineEnvironment::launchesWindowsProgramsThroughWine_data()
{
    QTest::addColumn<QString>("wine");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("command"); // empty: nothing can be started
    const QString wine = QStringLiteral("/usr/bin/wine");
    QTest::newRow("quoted Garmin path")
        << wine << "\"C:/Garmin/BaseCamp/BaseCamp.exe\""
        << QStringList{wine, "/p/drive_c/Garmin/BaseCamp/BaseCamp.exe"};
    QTest::newRow("installer, upper-case extension")
        << wine << "/home/ann/INSTALL.EXE" << QStringList{wine, "/home/ann/INSTALL.EXE"};
    QTest::newRow("Windows program without Wine")
        << QString() << "C:/BaseCamp.exe" << QStringList();
    QTest::newRow("Linux program without Wine")
        << QString() << "/bin/true" << QStringList{"/bin/true"};
    QTest::newRow("only quotes") << wine << "\"\"" << QStringList();
}

void TestWineEnvironment::launchesWindowsProgramsThroughWine()
{
    QFETCH(QString, wine);
    QFETCH(QString, program);
    QFETCH(QStringList, command);
    const auto launch = WineEnvironment(QStringLiteral("/p"), wine).launchCommand(program);
    QCOMPARE(launch ? QStringList{launch->program} + launch->arguments : QStringList(), command);
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
