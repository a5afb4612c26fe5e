#include "TestMain.h"
#include "app/Core.h"
#include "maps/InstalledMaps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

namespace {
bool writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray infoXml(int id)
{
    return QStringLiteral("<MapProduct><ID>%1</ID><SubProduct><Name>Halvorn Topo 24.1</Name>"
                          "</SubProduct></MapProduct>")
        .arg(id)
        .toUtf8();
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}
} // namespace

class TestInstalledMaps : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void discoversTheVendorsMaps();
    void missingOrUnknownMapsFolderFindsNothing();
    void readMapId_data();
    void readMapId();
    void readMapVersion_data();
    void readMapVersion();
    void isOutOfDate_data();
    void isOutOfDate();

private:
    QTemporaryDir m_files;
};

// The Garmin maps folder lies in this process's sandboxed home.
void TestInstalledMaps::discoversTheVendorsMaps()
{
    const QString maps = Core::garminMapsFolder();
    QVERIFY(!maps.isEmpty());
    QVERIFY(writeFile(maps + "/HalvornTopo/data/Info.xml", infoXml(1)));
    QVERIFY(writeFile(maps + "/HalvornRoads/INFO.XML", infoXml(2)));
    QVERIFY(writeFile(maps + "/Halvorn Topo Été/Info.xml", infoXml(3)));
    QVERIFY(writeFile(maps + "/HalvornSyncDownloads/HalvornTopo/Info.xml", infoXml(4)));
    QVERIFY(writeFile(maps + "/halvorntopo/Info.xml", infoXml(5)));
    QVERIFY(writeFile(maps + "/TopoActive/Info.xml", infoXml(6)));
    QVERIFY(writeFile(maps + "/HalvornTopo/.cache/Info.xml", infoXml(7)));
    QVERIFY(writeFile(maps + "/Halvorn notes.txt", "not a map"));
    const QString elsewhere = QDir::homePath() + "/Elsewhere/HalvornMarine";
    QVERIFY(writeFile(elsewhere + "/Info.xml", infoXml(8)));
    QVERIFY(QFile::link(elsewhere, maps + "/HalvornLink"));

    Core::instance()->refreshInstalledMapFolders();
    QCOMPARE(sorted(Core::instance()->installedMapFolders()),
             QStringList({"Halvorn Topo Été", "HalvornLink", "HalvornRoads", "HalvornSyncDownloads",
                          "HalvornTopo", "halvorntopo"}));

    const QString canonical = QFileInfo(maps).canonicalFilePath();
    const QStringList installed{canonical + "/Halvorn Topo Été/Info.xml",
                                canonical + "/HalvornRoads/INFO.XML",
                                canonical + "/HalvornTopo/data/Info.xml"};
    QCOMPARE(sorted(Core::installedMapInfoFiles()), installed);
    QCOMPARE(
        sorted(Core::findInfoFiles(maps)),
        sorted(installed + QStringList{canonical + "/HalvornSyncDownloads/HalvornTopo/Info.xml"}));

    QList<int> ids;
    for (const QString &path : Core::installedMapInfoFiles()) {
        ids.append(Core::readMapId(path));
    }
    std::sort(ids.begin(), ids.end());
    QCOMPARE(ids, QList<int>({1, 2, 3}));
}

// An empty path must not stand for the working directory.
void TestInstalledMaps::missingOrUnknownMapsFolderFindsNothing()
{
    const QString workingDirectory = QDir::currentPath();
    QVERIFY(writeFile(m_files.filePath("cwd/HalvornTopo/Info.xml"), infoXml(1)));
    QDir::setCurrent(m_files.filePath("cwd"));
    const QStringList fromEmpty = InstalledMaps::findInfoFiles(QString());
    const QStringList foldersFromEmpty = InstalledMaps::vendorMapFolders(QString());
    QDir::setCurrent(workingDirectory);
    QCOMPARE(fromEmpty, QStringList());
    QCOMPARE(foldersFromEmpty, QStringList());

    const QString missing = m_files.filePath("no/such/Garmin/Maps");
    QCOMPARE(InstalledMaps::vendorMapFolders(missing), QStringList());
    QCOMPARE(InstalledMaps::installedInfoFiles(missing), QStringList());
}

void TestInstalledMaps::readMapId_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("id");
    QTest::newRow("plain") << QByteArray("<MapProduct><ID>1234</ID></MapProduct>") << 1234;
    QTest::newRow("any root name") << QByteArray("<Whatever><ID>7</ID></Whatever>") << 7;
    QTest::newRow("declaration and comment first")
        << QByteArray("<?xml version=\"1.0\"?>\n<!-- map -->\n<Map>\n  <ID>9</ID>\n</Map>\n") << 9;
    QTest::newRow("CDATA") << QByteArray("<Map><ID><![CDATA[42]]></ID></Map>") << 42;
    QTest::newRow("first of two") << QByteArray("<Map><ID>11</ID><ID>22</ID></Map>") << 11;
    QTest::newRow("broken after the ID") << QByteArray("<Map><ID>55</ID><SubProduct><Na") << 55;
    QTest::newRow("no ID") << QByteArray("<Map><Name>Topo</Name></Map>") << -1;
    QTest::newRow("ID 12a") << QByteArray("<Map><ID>12a</ID></Map>") << -1;
    QTest::newRow("empty ID") << QByteArray("<Map><ID/></Map>") << -1;
    QTest::newRow("hexadecimal ID") << QByteArray("<Map><ID>0x1F</ID></Map>") << -1;
    QTest::newRow("lower-case id") << QByteArray("<Map><id>5</id></Map>") << -1;
    QTest::newRow("ID deeper down")
        << QByteArray("<Map><SubProduct><ID>5</ID></SubProduct></Map>") << -1;
    QTest::newRow("not XML") << QByteArray("PK\x03\x04 zip bytes") << -1;
    QTest::newRow("empty file") << QByteArray() << -1;
    auto utf16 = QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    QTest::newRow("UTF-16 with byte-order mark")
        << QByteArray(utf16(QStringLiteral("<Map><ID>31</ID></Map>"))) << 31;
}

void TestInstalledMaps::readMapId()
{
    QFETCH(QByteArray, content);
    QFETCH(int, id);
    const QString path =
        m_files.filePath(QStringLiteral("id/%1/Info.xml").arg(QTest::currentDataTag()));
    QVERIFY(writeFile(path, content));
    QCOMPARE(Core::readMapId(path), id);
}

void TestInstalledMaps::readMapVersion_data()
{
    QTest::addColumn<QString>("subProduct");
    QTest::addColumn<QString>("version");
    QTest::newRow("year and month") << "<Name>Halvorn Topo 2024.10</Name>"
                                    << "2024.10";
    QTest::newRow("trailing zeros") << "<Name>Topo 5.00 (2023)</Name>"
                                    << "5.0";
    QTest::newRow("three segments") << "<Name>Halvorn Topo 24.1.3</Name>"
                                    << "24.1.3";
    QTest::newRow("four numbers keep three") << "<Name>v2.10.5.7</Name>"
                                             << "2.10.5";
    QTest::newRow("space inside the match") << "<Name>Topo 2024 10</Name>"
                                            << "2024";
    QTest::newRow("dash inside the match") << "<Name>Topo 1-2-3</Name>"
                                           << "1";
    QTest::newRow("no digits") << "<Name>Topo</Name>"
                               << "";
    QTest::newRow("empty name") << "<Name></Name>"
                                << "";
    QTest::newRow("CDATA") << "<Name><![CDATA[Topo 3.2]]></Name>"
                           << "3.2";
    QTest::newRow("first Name") << "<Name>Topo 1.1</Name><Name>Topo 9.9</Name>"
                                << "1.1";
    QTest::newRow("no Name") << "<Title>Topo 3.2</Title>"
                             << "";
}

void TestInstalledMaps::readMapVersion()
{
    QFETCH(QString, subProduct);
    QFETCH(QString, version);
    const QString path =
        m_files.filePath(QStringLiteral("version/%1/Info.xml").arg(QTest::currentDataTag()));
    QVERIFY(writeFile(path, QStringLiteral("<MapProduct><ID>1</ID><Name>Wrong 7.7</Name>"
                                           "<SubProduct>%1</SubProduct></MapProduct>")
                                .arg(subProduct)
                                .toUtf8()));
    QCOMPARE(Core::readMapVersion(path).toString(), version);
}

void TestInstalledMaps::isOutOfDate_data()
{
    QTest::addColumn<QString>("installed");
    QTest::addColumn<QString>("latest");
    QTest::addColumn<bool>("outOfDate");
    QTest::newRow("shorter is older") << "24.1"
                                      << "24.1.0" << true;
    QTest::newRow("equal") << "24.1.0"
                           << "24.1.0" << false;
    QTest::newRow("unknown installed version") << ""
                                               << "24.1.0" << false;
    QTest::newRow("older") << "24.1.0"
                           << "24.2.0" << true;
    QTest::newRow("newer") << "24.2.0"
                           << "24.1.0" << false;
    QTest::newRow("numeric, not text") << "3.9.9"
                                       << "3.10.0" << true;
    QTest::newRow("longer is newer") << "24.1.0.1"
                                     << "24.1.0" << false;
}

void TestInstalledMaps::isOutOfDate()
{
    QFETCH(QString, installed);
    QFETCH(QString, latest);
    QFETCH(bool, outOfDate);
    QCOMPARE(InstalledMaps::isOutOfDate(QVersionNumber::fromString(installed),
                                        QVersionNumber::fromString(latest)),
             outOfDate);
}

HALVORNSYNC_TEST_MAIN(TestInstalledMaps)
#include "tst_installedmaps.moc"
