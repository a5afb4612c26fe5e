#include "FakePlatform.h"
#include "PeFileBuilder.h"
#include "TestMain.h"
#include "maps/GarminApplications.h"

#include <QTemporaryDir>

namespace {
const QString kX86 = QStringLiteral("C:/Program Files (x86)/Garmin/BaseCamp/BaseCamp.exe");
const QString kX64 = QStringLiteral("C:/Program Files/Garmin/BaseCamp/BaseCamp.exe");

// A fake BaseCamp at a Windows path with the given file version; none when the version is empty.
bool install(const FakePlatform &platform, const QString &windowsPath, const QString &version)
{
    return version.isEmpty() || PeFileBuilder::writeExecutable(platform.nativePath(windowsPath),
                                                               QVersionNumber::fromString(version));
}
} // namespace

class TestGarminApplications : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void checkBaseCamp_data();
    void checkBaseCamp();

private:
    QTemporaryDir m_driveC;
    std::unique_ptr<FakePlatform> m_platform;
};

void TestGarminApplications::init()
{
    m_platform.reset();
    m_platform = std::make_unique<FakePlatform>();
    m_platform->driveC = m_driveC.filePath(QTest::currentDataTag());
}

void TestGarminApplications::checkBaseCamp_data()
{
    QTest::addColumn<QString>("x86");
    QTest::addColumn<QString>("x64");
    QTest::addColumn<bool>("mapInstallFolder");
    QTest::addColumn<QString>("baseCamp"); // empty: the check fails
    QTest::addColumn<QString>("mapInstall");
    const auto row = [](const char *name, const char *x86, const char *x64, bool mapInstallFolder,
                        const QString &baseCamp, const QString &mapInstall) {
        QTest::newRow(name) << x86 << x64 << mapInstallFolder << baseCamp << mapInstall;
    };
    const QString x86 = "\"C:/Program Files (x86)/Garmin/BaseCamp/BaseCamp.exe\"";
    const QString x86MapInstall = "\"C:/Program Files (x86)/Garmin/MapInstall/MapInstall.exe\"";
    const QString none;
    // No BaseCamp, BaseCamp 4.6.1 or 4.6.2.900 in Program Files alone: tests/computer's BaseCamp
    // questions; MapInstall beside the Garmin folder: tests/pages.
    row("4.6.2", "4.6.2", "", true, x86, x86MapInstall);
    row("too old in x86, new in Program Files", "4.6.1", "4.7.0", false, none, none);
}

void TestGarminApplications::checkBaseCamp()
{
    QFETCH(QString, x86);
    QFETCH(QString, x64);
    QFETCH(bool, mapInstallFolder);
    QFETCH(QString, baseCamp);
    QFETCH(QString, mapInstall);
    QVERIFY(install(*m_platform, kX86, x86));
    QVERIFY(install(*m_platform, kX64, x64));
    if (mapInstallFolder) {
        QVERIFY(install(*m_platform, "C:/Program Files (x86)/Garmin/MapInstall/MapInstall.exe",
                        "4.0.0"));
    }
    GarminApplications applications;
    QCOMPARE(applications.checkBaseCamp(), !baseCamp.isEmpty());
    QCOMPARE(applications.baseCampPath(), baseCamp);
    QCOMPARE(applications.mapInstallPath(), mapInstall);
}

HALVORNSYNC_TEST_MAIN(TestGarminApplications)
#include "tst_garminapplications.moc"
