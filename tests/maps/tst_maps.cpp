#include "FakePlatform.h"
#include "PeFileBuilder.h"
#include "SampleMapFiles.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "app/Core.h"
#include "maps/GarminApplications.h"
#include "maps/InstalledMaps.h"
#include "maps/Worker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {
using SampleMapFiles::infoXml;

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

const QString kX86 = QStringLiteral("C:/Program Files (x86)/Garmin/BaseCamp/BaseCamp.exe");
const QString kX64 = QStringLiteral("C:/Program Files/Garmin/BaseCamp/BaseCamp.exe");

// A fake BaseCamp at a Windows path with the given file version; none when the version is empty.
bool install(const FakePlatform &platform, const QString &windowsPath, const QString &version)
{
    return version.isEmpty() || PeFileBuilder::writeExecutable(platform.nativePath(windowsPath),
                                                               QVersionNumber::fromString(version));
}
} // namespace

// The maps folder: what is installed there, and Garmin's programs found beside it.
class TestMaps : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void discoversTheVendorsMaps();
    void vendorMapsAreToldBelowTheMapsFolder();
    void readsIdAndVersion_data();
    void readsIdAndVersion();
    void uninstallDeletesOneFolderOfTheMapsFolder_data();
    void uninstallDeletesOneFolderOfTheMapsFolder();
    void checkBaseCamp_data();
    void checkBaseCamp();

private:
    QTemporaryDir m_files;
};

// The Garmin maps folder lies in this process's sandboxed home.
void TestMaps::discoversTheVendorsMaps()
{
    const QString maps = Core::garminMapsFolder();
    QVERIFY(TestFiles::write(maps + "/HalvornTopo/data/Info.xml", infoXml(1)));
    QVERIFY(TestFiles::write(maps + "/HalvornRoads/INFO.XML", infoXml(2)));
    QVERIFY(TestFiles::write(maps + "/HalvornSyncDownloads/HalvornTopo/Info.xml", infoXml(4)));
    const QString elsewhere = QDir::homePath() + "/Elsewhere/HalvornMarine";
    QVERIFY(TestFiles::write(elsewhere + "/Info.xml", infoXml(8)));
    QVERIFY(QFile::link(elsewhere, maps + "/HalvornLink"));

    Core::instance()->refreshInstalledMapFolders();
    // The download area is not a map. Letter case and other makers: tests/e2e.
    QCOMPARE(sorted(Core::instance()->installedMapFolders()),
             QStringList({"HalvornLink", "HalvornRoads", "HalvornTopo"}));

    const QString root = QFileInfo(maps).canonicalFilePath();
    const QStringList installed{root + "/HalvornRoads/INFO.XML",
                                root + "/HalvornTopo/data/Info.xml"};
    QCOMPARE(sorted(Core::installedMapInfoFiles()), installed);
    QCOMPARE(sorted(Core::findInfoFiles(maps)),
             sorted(installed + QStringList{root + "/HalvornSyncDownloads/HalvornTopo/Info.xml"}));
}

// Only the path below the maps folder tells a vendor map, whatever the folders above are named.
void TestMaps::vendorMapsAreToldBelowTheMapsFolder()
{
    const QString maps = m_files.filePath("HalvornSyncDownloads/Halvorn wine/Garmin/Maps");
    QVERIFY(TestFiles::write(maps + "/TopoEurope/Info.xml", infoXml(1)));
    QVERIFY(TestFiles::write(maps + "/HalvornTopo/Info.xml", infoXml(2)));
    QCOMPARE(InstalledMaps::installedInfoFiles(maps),
             QStringList{QFileInfo(maps).canonicalFilePath() + "/HalvornTopo/Info.xml"});
}

void TestMaps::readsIdAndVersion_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("latest");
    QTest::addColumn<bool>("outOfDate"); // the version read, against the latest
    const auto row = [](const char *name, const char *content, int id, const char *version,
                        const char *latest, bool outOfDate) {
        QTest::newRow(name) << QByteArray(content) << id << QString::fromLatin1(version) << latest
                            << outOfDate;
    };
    // The version is the first number in SubProduct's Name; a Name elsewhere is not read.
    row("declaration and comment first, any root name; shorter is older",
        "<?xml version=\"1.0\"?><!-- map --><Whatever><ID>9</ID><Name>Wrong 7.7</Name>"
        "<SubProduct><Name>Halvorn Topo 2024.10</Name></SubProduct></Whatever>",
        9, "2024.10", "2024.10.0", true);
    row("first ID, first Name, CDATA; numeric, not text",
        "<Map><ID>11</ID><ID>22</ID><SubProduct><Name><![CDATA[Topo 3.2]]></Name>"
        "<Name>9.9</Name></SubProduct></Map>",
        11, "3.2", "3.10", true);
    row("broken after the ID: unknown version", "<Map><ID>55</ID><SubProduct><Na", 55, "", "24.1",
        false);
    row("no ID, trailing zeros; equal",
        "<Map><SubProduct><Name>Topo 5.00 (2023)</Name></SubProduct></Map>", -1, "5.0", "5.0",
        false);
    row("ID 12a, four numbers keep three",
        "<Map><ID>12a</ID><SubProduct><Name>v2.10.5.7</Name></SubProduct></Map>", -1, "2.10.5",
        "2.10.5", false);
}

void TestMaps::readsIdAndVersion()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, latest);
    const QString path = m_files.filePath(QString("%1/Info.xml").arg(QTest::currentDataTag()));
    QVERIFY(TestFiles::write(path, content));
    QTEST(Core::readMapId(path), "id");
    const QVersionNumber version = Core::readMapVersion(path);
    QTEST(version.toString(), "version");
    QTEST(InstalledMaps::isOutOfDate(version, QVersionNumber::fromString(latest)), "outOfDate");
}

void TestMaps::uninstallDeletesOneFolderOfTheMapsFolder_data()
{
    QTest::addColumn<bool>("mapsFolderKnown");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("removed");
    // Deleting a whole map is the uninstall walk's (tests/pages).
    QTest::newRow("a link to a folder elsewhere: only the link") << true << "HalvornLink" << true;
    QTest::newRow("maps folder unknown") << false << "HalvornLink" << false;
    QTest::newRow("no name") << true << "" << false;
    QTest::newRow("the maps folder") << true << "." << false;
    QTest::newRow("its parent") << true << ".." << false;
    QTest::newRow("beside it") << true << "../Elsewhere" << false;
    QTest::newRow("inside a map") << true << "HalvornTopo/data" << false;
}

void TestMaps::uninstallDeletesOneFolderOfTheMapsFolder()
{
    QFETCH(bool, mapsFolderKnown);
    QFETCH(QString, name);
    QFETCH(bool, removed);
    const FakePlatform platform;
    const QTemporaryDir root;
    // Filled into "%1/%2" one after the other, this path would name another folder.
    const QString maps = root.filePath("Maps %2");
    QVERIFY(TestFiles::write(maps + "/HalvornTopo/data/Info.xml", infoXml(1)));
    QVERIFY(TestFiles::write(root.filePath("Elsewhere/Info.xml"), infoXml(2)));
    QVERIFY(QFile::link(root.filePath("Elsewhere"), maps + "/HalvornLink"));

    Worker worker(mapsFolderKnown ? maps : QString());
    const QSignalSpy results(&worker, &Worker::resultReady);
    worker.doWork(name);

    QCOMPARE(results.value(0).value(0).toString(), removed ? name : QString());
    QCOMPARE(QFileInfo::exists(maps + "/" + name), !removed);
    QVERIFY(QFileInfo::exists(maps + "/HalvornTopo/data/Info.xml"));
    QVERIFY(QFileInfo::exists(root.filePath("Elsewhere/Info.xml")));
}

void TestMaps::checkBaseCamp_data()
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
    // No BaseCamp and BaseCamp 4.6.1 alone: the page graph's routes.
    row("4.6.2", "4.6.2", "", true, x86, x86MapInstall);
    row("too old in x86, new in Program Files", "4.6.1", "4.7.0", false, none, none);
    // The build number is not read: 4.6.2.900 is 4.6.2.
    row("4.6.2 build 900 in Program Files alone, MapInstall beside the Garmin folder", "",
        "4.6.2.900", false, "\"C:/Program Files/Garmin/BaseCamp/BaseCamp.exe\"",
        "\"C:/Program Files/Garmin//MapInstall.exe\"");
}

void TestMaps::checkBaseCamp()
{
    QFETCH(QString, x86);
    QFETCH(QString, x64);
    QFETCH(bool, mapInstallFolder);
    QFETCH(QString, baseCamp);
    QFETCH(QString, mapInstall);
    FakePlatform platform;
    platform.driveC = m_files.filePath(QTest::currentDataTag());
    QVERIFY(install(platform, kX86, x86));
    QVERIFY(install(platform, kX64, x64));
    if (mapInstallFolder) {
        QVERIFY(
            install(platform, "C:/Program Files (x86)/Garmin/MapInstall/MapInstall.exe", "4.0.0"));
    }
    GarminApplications applications;
    QCOMPARE(applications.checkBaseCamp(), !baseCamp.isEmpty());
    QCOMPARE(applications.baseCampPath(), baseCamp);
    QCOMPARE(applications.mapInstallPath(), mapInstall);
}

HALVORNSYNC_TEST_MAIN(TestMaps)
#include "tst_maps.moc"
