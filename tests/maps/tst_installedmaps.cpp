#include "TestMain.h"
#include "app/Core.h"
#include "maps/InstalledMaps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    return QByteArray("<MapProduct><ID>") + QByteArray::number(id) + "</ID></MapProduct>";
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
    void emptyMapsFolderPathFindsNothing();
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

    const QString root = QFileInfo(maps).canonicalFilePath();
    const QStringList installed{root + "/Halvorn Topo Été/Info.xml",
                                root + "/HalvornRoads/INFO.XML",
                                root + "/HalvornTopo/data/Info.xml"};
    QCOMPARE(sorted(Core::installedMapInfoFiles()), installed);
    QCOMPARE(sorted(Core::findInfoFiles(maps)),
             sorted(installed + QStringList{root + "/HalvornSyncDownloads/HalvornTopo/Info.xml"}));
    QList<int> ids;
    for (const QString &path : Core::installedMapInfoFiles()) {
        ids.append(Core::readMapId(path));
    }
    std::sort(ids.begin(), ids.end());
    QCOMPARE(ids, QList<int>({1, 2, 3}));
}

// QDir reads an empty path as the working directory, which is no maps folder.
void TestInstalledMaps::emptyMapsFolderPathFindsNothing()
{
    const QString workingDirectory = QDir::currentPath();
    QVERIFY(writeFile(m_files.filePath("cwd/HalvornTopo/Info.xml"), infoXml(1)));
    QDir::setCurrent(m_files.filePath("cwd"));
    const QStringList files = InstalledMaps::findInfoFiles(QString());
    const QStringList folders = InstalledMaps::vendorMapFolders(QString());
    QDir::setCurrent(workingDirectory);
    QCOMPARE(files, QStringList());
    QCOMPARE(folders, QStringList());
}

void TestInstalledMaps::readMapId_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("id");
    QTest::newRow("any root name, declaration and comment first")
        << QByteArray("<?xml version=\"1.0\"?><!-- map --><Whatever><ID>9</ID></Whatever>") << 9;
    QTest::newRow("first of two") << QByteArray("<Map><ID>11</ID><ID>22</ID></Map>") << 11;
    QTest::newRow("broken after the ID") << QByteArray("<Map><ID>55</ID><SubProduct><Na") << 55;
    QTest::newRow("no ID") << QByteArray("<Map><Name>Topo</Name></Map>") << -1;
    QTest::newRow("ID 12a") << QByteArray("<Map><ID>12a</ID></Map>") << -1;
    QTest::newRow("ID deeper down") << QByteArray("<Map><Sub><ID>5</ID></Sub></Map>") << -1;
    QTest::newRow("not XML") << QByteArray("PK\x03\x04 zip bytes") << -1;
}

void TestInstalledMaps::readMapId()
{
    QFETCH(QByteArray, content);
    QFETCH(int, id);
    const QString path = m_files.filePath(QString("id/%1/Info.xml").arg(QTest::currentDataTag()));
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
    QTest::newRow("four numbers keep three") << "<Name>v2.10.5.7</Name>"
                                             << "2.10.5";
    QTest::newRow("space inside the match") << "<Name>Topo 2024 10</Name>"
                                            << "2024";
    QTest::newRow("no digits") << "<Name>Topo</Name>"
                               << "";
    QTest::newRow("CDATA, first Name") << "<Name><![CDATA[Topo 3.2]]></Name><Name>9.9</Name>"
                                       << "3.2";
    QTest::newRow("no Name") << "<Title>Topo 3.2</Title>"
                             << "";
}

// A Name outside SubProduct must not be read.
void TestInstalledMaps::readMapVersion()
{
    QFETCH(QString, subProduct);
    QFETCH(QString, version);
    const QString path = m_files.filePath(QString("v/%1/Info.xml").arg(QTest::currentDataTag()));
    QVERIFY(writeFile(path, QString("<Map><ID>1</ID><Name>Wrong 7.7</Name><SubProduct>%1"
                                    "</SubProduct></Map>")
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
    QTest::newRow("numeric, not text") << "3.9.9"
                                       << "3.10.0" << true;
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
