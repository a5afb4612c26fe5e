#include "TestMain.h"
#include "app/Core.h"

#include <QLocale>

class TestCore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formatDuration_data();
    void formatDuration();
    void languageCodeFollowsDefaultLocale_data();
    void languageCodeFollowsDefaultLocale();
    void garminMapsFolderReplacesOnlyTheApplicationFolder_data();
    void garminMapsFolderReplacesOnlyTheApplicationFolder();
};

void TestCore::formatDuration_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("59.4 s rounds down") << 59.4 << "59 sec";
    QTest::newRow("59.6 s stays in seconds") << 59.6 << "60 sec";
    QTest::newRow("one minute") << 60.0 << "1 min";
    QTest::newRow("90 s rounds half away") << 90.0 << "2 min";
    QTest::newRow("3575 s stays in minutes") << 3575.0 << "60 min";
    QTest::newRow("one hour") << 3600.0 << "1 hrs 0 min";
    QTest::newRow("5430 s") << 5430.0 << "1 hrs 31 min";
    QTest::newRow("7170 s: hours from the rounded minutes") << 7170.0 << "2 hrs 0 min";
}

void TestCore::formatDuration()
{
    QFETCH(double, seconds);
    QFETCH(QString, text);
    QCOMPARE(Core::formatDuration(seconds), text);
}

void TestCore::languageCodeFollowsDefaultLocale_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("code");
    QTest::newRow("French, Canada") << QLocale(QLocale::French, QLocale::Canada) << "FR";
    QTest::newRow("English") << QLocale(QLocale::English) << "EN";
    QTest::newRow("German") << QLocale(QLocale::German) << "EN";
}

void TestCore::languageCodeFollowsDefaultLocale()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, code);
    const QLocale previous;
    QLocale::setDefault(locale);
    const QString result = Core::languageCode();
    QLocale::setDefault(previous);
    QCOMPARE(result, code);
}

void TestCore::garminMapsFolderReplacesOnlyTheApplicationFolder_data()
{
    QTest::addColumn<QString>("applicationName");
    QTest::addColumn<QString>("dataHome");
    QTest::newRow("name in the home folder") << "HalvornSync"
                                             << "/home/halvornsync-user/share";
    QTest::newRow("name in another case in the home folder") << "halvornsync"
                                                             << "/home/HALVORNSYNC/share";
}

void TestCore::garminMapsFolderReplacesOnlyTheApplicationFolder()
{
    QFETCH(QString, applicationName);
    QFETCH(QString, dataHome);
    const QString previousName = QCoreApplication::applicationName();
    const QByteArray previousDataHome = qgetenv("XDG_DATA_HOME");
    QCoreApplication::setApplicationName(applicationName);
    qputenv("XDG_DATA_HOME", dataHome.toUtf8());

    const QString folder = Core::garminMapsFolder();

    QCoreApplication::setApplicationName(previousName);
    qputenv("XDG_DATA_HOME", previousDataHome);
    QCOMPARE(folder, dataHome + QStringLiteral("/Garmin/Maps"));
}

HALVORNSYNC_TEST_MAIN(TestCore)
#include "tst_core.moc"
