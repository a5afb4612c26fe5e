#include "FakePlatform.h"
#include "PeFileBuilder.h"
#include "TestMain.h"
#include "app/Core.h"
#include "maps/GarminApplications.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {
const QString kX86 = QStringLiteral("C:/Program Files (x86)/Garmin/BaseCamp/BaseCamp.exe");
const QString kX64 = QStringLiteral("C:/Program Files/Garmin/BaseCamp/BaseCamp.exe");

// Installs a fake BaseCamp at a Windows path: a version such as "4.6.2" gives a real executable
// with that file version, "no resource" one without a version resource, "garbage" no executable
// at all, and "" nothing.
bool install(const FakePlatform &platform, const QString &windowsPath, const QString &what)
{
    const QString path = platform.nativePath(windowsPath);
    if (what.isEmpty()) {
        return true;
    }
    if (what == QLatin1String("no resource")) {
        return PeFileBuilder().setVersionResource(false).write(path);
    }
    if (what == QLatin1String("garbage")) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write("MZ but nothing else") > 0;
    }
    return PeFileBuilder::writeExecutable(path, QVersionNumber::fromString(what));
}
} // namespace

class TestGarminApplications : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void checkBaseCamp_data();
    void checkBaseCamp();
    void pathsStayAsTheFirstSuccessSetThem();
    void coreKeepsItsPathsForTheRun();

private:
    std::unique_ptr<QTemporaryDir> m_driveC;
    std::unique_ptr<FakePlatform> m_platform;
};

void TestGarminApplications::init()
{
    m_platform.reset();
    m_platform = std::make_unique<FakePlatform>();
    m_driveC = std::make_unique<QTemporaryDir>();
    m_platform->driveC = m_driveC->path();
}

void TestGarminApplications::checkBaseCamp_data()
{
    QTest::addColumn<QString>("x86");
    QTest::addColumn<QString>("x64");
    QTest::addColumn<bool>("mapInstallFolder");
    QTest::addColumn<bool>("passes");
    QTest::addColumn<QString>("baseCamp");
    QTest::addColumn<QString>("mapInstall");
    const QString x86 = QStringLiteral("\"C:/Program Files (x86)/Garmin/BaseCamp/BaseCamp.exe\"");
    const QString x64 = QStringLiteral("\"C:/Program Files/Garmin/BaseCamp/BaseCamp.exe\"");
    const QString x86MapInstall =
        QStringLiteral("\"C:/Program Files (x86)/Garmin/MapInstall/MapInstall.exe\"");
    const QString x86Fallback = QStringLiteral("\"C:/Program Files (x86)/Garmin//MapInstall.exe\"");
    const QString x64Fallback = QStringLiteral("\"C:/Program Files/Garmin//MapInstall.exe\"");

    QTest::newRow("none") << ""
                          << "" << false << false << ""
                          << "";
    QTest::newRow("4.6.2") << "4.6.2"
                           << "" << true << true << x86 << x86MapInstall;
    QTest::newRow("4.6.2, MapInstall not in its folder")
        << "4.6.2"
        << "" << false << true << x86 << x86Fallback;
    QTest::newRow("4.6.2.900 counts as 4.6.2") << "4.6.2.900"
                                               << "" << true << true << x86 << x86MapInstall;
    QTest::newRow("4.6.1") << "4.6.1"
                           << "" << true << false << ""
                           << "";
    QTest::newRow("4.5.9") << "4.5.9"
                           << "" << true << false << ""
                           << "";
    QTest::newRow("4.10.0 is newer") << "4.10.0"
                                     << "" << true << true << x86 << x86MapInstall;
    QTest::newRow("only in Program Files") << ""
                                           << "4.6.2" << false << true << x64 << x64Fallback;
    QTest::newRow("too old in x86, new in Program Files") << "4.6.1"
                                                          << "4.7.0" << false << false << ""
                                                          << "";
    QTest::newRow("new in x86, too old in Program Files")
        << "4.7.0"
        << "4.6.1" << false << true << x86 << x86Fallback;
    QTest::newRow("no version resource") << "no resource"
                                         << "" << false << false << ""
                                         << "";
    QTest::newRow("not an executable") << "garbage"
                                       << "" << false << false << ""
                                       << "";
}

void TestGarminApplications::checkBaseCamp()
{
    QFETCH(QString, x86);
    QFETCH(QString, x64);
    QFETCH(bool, mapInstallFolder);
    QFETCH(bool, passes);
    QFETCH(QString, baseCamp);
    QFETCH(QString, mapInstall);
    QVERIFY(install(*m_platform, kX86, x86));
    QVERIFY(install(*m_platform, kX64, x64));
    if (mapInstallFolder) {
        QVERIFY(install(*m_platform, "C:/Program Files (x86)/Garmin/MapInstall/MapInstall.exe",
                        "4.0.0"));
    }

    GarminApplications applications;
    QCOMPARE(applications.checkBaseCamp(), passes);
    QCOMPARE(applications.baseCampPath(), baseCamp);
    QCOMPARE(applications.mapInstallPath(), mapInstall);
}

void TestGarminApplications::pathsStayAsTheFirstSuccessSetThem()
{
    GarminApplications applications;
    QVERIFY(install(*m_platform, kX86, "4.6.2"));
    QVERIFY(applications.checkBaseCamp());
    const QString baseCamp = applications.baseCampPath();
    const QString mapInstall = applications.mapInstallPath();

    // BaseCamp moves to the other folder: still found, the paths stay.
    QVERIFY(QFile::remove(m_platform->nativePath(kX86)));
    QVERIFY(install(*m_platform, kX64, "4.7.0"));
    QVERIFY(applications.checkBaseCamp());
    QCOMPARE(applications.baseCampPath(), baseCamp);
    QCOMPARE(applications.mapInstallPath(), mapInstall);

    // A failing check does not clear them either.
    QVERIFY(QFile::remove(m_platform->nativePath(kX64)));
    QVERIFY(!applications.checkBaseCamp());
    QCOMPARE(applications.baseCampPath(), baseCamp);
}

// The versions come from the platform, so a fake version at the mapped path counts too.
void TestGarminApplications::coreKeepsItsPathsForTheRun()
{
    Core *core = Core::instance();
    QVERIFY(!core->checkBaseCamp());
    QCOMPARE(core->baseCampPath(), QString());

    QVERIFY(install(*m_platform, kX64, "garbage"));
    m_platform->fileVersions.insert(m_platform->nativePath(kX64), QVersionNumber(4, 6, 2));
    QVERIFY(core->checkBaseCamp());
    QCOMPARE(core->baseCampPath(),
             QStringLiteral("\"C:/Program Files/Garmin/BaseCamp/BaseCamp.exe\""));
    QCOMPARE(core->mapInstallPath(), QStringLiteral("\"C:/Program Files/Garmin//MapInstall.exe\""));

    QVERIFY(install(*m_platform, kX86, "4.8.0"));
    QVERIFY(core->checkBaseCamp());
    QCOMPARE(core->baseCampPath(),
             QStringLiteral("\"C:/Program Files/Garmin/BaseCamp/BaseCamp.exe\""));
}

HALVORNSYNC_TEST_MAIN(TestGarminApplications)
#include "tst_garminapplications.moc"
