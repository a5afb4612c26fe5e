#include "TestMain.h"
#include "platform/WineEnvironment.h"

#include <QDir>

class TestWineEnvironment : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void launchesThroughThePrefix_data();
    void launchesThroughThePrefix();
    void toolsNeedWineAndAnExistingPrefix();
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
    row("lower-case drive, backslashes", wine, "c:\\Program Files\\Garmin",
        {"/p/drive_c/Program Files/Garmin"});
    row("another drive", wine, "E:/Maps", {"/p/dosdevices/e:/Maps"});
    row("no slash after the drive", wine, "C:x.exe", {wine, "C:x.exe"});
    row("Linux installer, upper-case extension", wine, "/home/ann/INSTALL.EXE",
        {wine, "/home/ann/INSTALL.EXE"});
    row("Windows program without Wine", QString(), "C:/BaseCamp.exe", {});
    row("Linux program without Wine", QString(), "/bin/true", {"/bin/true"});
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

HALVORNSYNC_TEST_MAIN(TestWineEnvironment)
#include "tst_wineenvironment.moc"
