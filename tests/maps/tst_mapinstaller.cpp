#include "TestFiles.h"
#include "TestMain.h"
#include "app/Core.h"
#include "maps/InstalledMaps.h"
#include "maps/MapInstaller.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>

namespace {
using Step = MapInstaller::Step;

// Every file below `folder` with its content, by relative path.
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        files.insert(QDir(folder).relativeFilePath(path), file.readAll());
    }
    return files;
}

bool writeMap(const QString &folder, int id, const QByteArray &edition)
{
    return TestFiles::write(folder + QStringLiteral("/Info.xml"), TestFiles::mapInfo(id)) &&
           TestFiles::write(folder + QStringLiteral("/map.img"), edition);
}
} // namespace

// Installing the computer map on real folders: which folders go and come, and that the user
// keeps the old map or gets the new one whatever fails and wherever the run is cut short.
class TestMapInstaller : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void plan_data();
    void plan();
    void failedMoveRestoresEverything_data();
    void failedMoveRestoresEverything();
    void interruptedInstallEndsOldThenNew_data();
    void interruptedInstallEndsOldThenNew();
    void refusesAnUnknownMapsFolder();

private:
    MapInstallPlan planFor(const QList<qint32> &families) const;
    // The maps folder without the download area.
    QMap<QString, QByteArray> installedFiles() const
    {
        QMap<QString, QByteArray> files = snapshot(m_maps);
        files.removeIf([](auto it) { return it.key().startsWith(u"HalvornSyncDownloads"); });
        return files;
    }

    QString m_maps;
    QString m_download;
    QMap<QString, QByteArray> m_before;
};

void TestMapInstaller::init()
{
    m_maps = Core::garminMapsFolder();
    m_download = InstalledMaps::downloadFolder(m_maps);
    // Installed: the old North (family 10), an unrelated map, one whose family cannot be read, and
    // the withdrawn West (12).
    QVERIFY(writeMap(m_maps + QStringLiteral("/HalvornNorth"), 10, "north 23"));
    QVERIFY(writeMap(m_maps + QStringLiteral("/HalvornOther"), 90, "other"));
    QVERIFY(writeMap(m_maps + QStringLiteral("/HalvornBroken"), -1, "broken"));
    QVERIFY(writeMap(m_maps + QStringLiteral("/HalvornWest"), 12, "west 23"));
    // Downloaded: the new North and a new South (11).
    QVERIFY(writeMap(m_download + QStringLiteral("/HalvornNorth"), 10, "north 24"));
    QVERIFY(writeMap(m_download + QStringLiteral("/HalvornSouth"), 11, "south 24"));
    QVERIFY(TestFiles::write(m_download + QStringLiteral("/map_file.zip"), QByteArray()));
    m_before = installedFiles();
}

void TestMapInstaller::cleanup()
{
    MapInstaller::setStepHook({});
    QDir(m_maps).removeRecursively();
}

MapInstallPlan TestMapInstaller::planFor(const QList<qint32> &families) const
{
    QList<MapInstallPlan::Map> installed;
    QList<MapInstallPlan::Map> downloaded;
    for (const QString &info : Core::installedMapInfoFiles()) {
        installed.append({QFileInfo(info).path(), Core::readMapId(info)});
    }
    for (const QString &info : Core::findInfoFiles(m_download)) {
        downloaded.append({QFileInfo(info).path(), Core::readMapId(info)});
    }
    return MapInstallPlan::make(installed, downloaded, families, {12}, false);
}

void TestMapInstaller::plan_data()
{
    QTest::addColumn<QList<qint32>>("families");
    QTest::addColumn<bool>("allBelong");
    QTest::addColumn<QString>("expected"); // incoming | superseded | dropped, by folder name
    // X is a download whose family could not be read (-1).
    QTest::newRow("computer product: everything downloaded comes")
        << QList<qint32>{10} << true << "N S X | N W | ";
    QTest::newRow("card product: only its own families")
        << QList<qint32>{10} << false << "N | N W | S X";
    QTest::newRow("no families: every download dropped, withdrawn still go")
        << QList<qint32>{} << false << " | W | N S X";
}

void TestMapInstaller::plan()
{
    QFETCH(QList<qint32>, families);
    QFETCH(bool, allBelong);
    QFETCH(QString, expected);
    const QList<MapInstallPlan::Map> installed = {{"/m/HalvornNorth", 10},
                                                  {"/m/HalvornOther", 90},
                                                  {"/m/HalvornWest", 12},
                                                  {"/m/HalvornBroken", -1}};
    const QList<MapInstallPlan::Map> downloaded = {
        {"/d/HalvornNorth", 10}, {"/d/HalvornSouth", 11}, {"/d/HalvornX", -1}};
    const MapInstallPlan plan =
        MapInstallPlan::make(installed, downloaded, families, {12}, allBelong);
    const auto initials = [](const QStringList &folders) {
        QStringList letters;
        for (const QString &folder : folders) {
            letters.append(QFileInfo(folder).fileName().mid(7, 1));
        }
        return letters.join(u' ');
    };
    QCOMPARE(initials(plan.incoming) + " | " + initials(plan.superseded) + " | " +
                 initials(plan.dropped),
             expected);
}

void TestMapInstaller::failedMoveRestoresEverything_data()
{
    QTest::addColumn<QString>("failing"); // the folder whose move fails
    QTest::addColumn<bool>("nameTaken");  // by a folder that is not being replaced
    QTest::newRow("a folder of that name is already there") << "HalvornSouth" << true;
    QTest::newRow("a new folder in use") << "HalvornSouth" << false;
    QTest::newRow("an old folder in use") << "HalvornWest" << false;
}

void TestMapInstaller::failedMoveRestoresEverything()
{
    QFETCH(QString, failing);
    QFETCH(bool, nameTaken);
    if (nameTaken) {
        QVERIFY(writeMap(m_maps + QLatin1Char('/') + failing, 77, "someone else's"));
        m_before = installedFiles();
    } else {
        MapInstaller::setStepHook([failing](const QString &from, const QString &) {
            return QFileInfo(from).fileName() == failing ? Step::Fail : Step::Go;
        });
    }
    const QMap<QString, QByteArray> download = snapshot(m_download);

    const MapInstaller::Result result = MapInstaller(m_maps).install(planFor({10, 11}));
    QVERIFY(!result.installed);
    QCOMPARE(result.failedFolder, failing);
    QCOMPARE(installedFiles(), m_before);
    QCOMPARE(snapshot(m_download), download);
    QVERIFY(!QFileInfo::exists(m_download + QStringLiteral(".journal")));
}

// The run dies just before its n-th move; the next run's recovery must leave the old map whole,
// and the download can then be installed.
void TestMapInstaller::interruptedInstallEndsOldThenNew_data()
{
    QTest::addColumn<int>("crashAt");
    for (int n = 1; n <= 4; ++n) { // two set aside, two moved in
        QTest::addRow("before move %d", n) << n;
    }
}

void TestMapInstaller::interruptedInstallEndsOldThenNew()
{
    QFETCH(int, crashAt);
    int moves = 0;
    MapInstaller::setStepHook([&moves, crashAt](const QString &, const QString &) {
        return ++moves == crashAt ? Step::Crash : Step::Go;
    });
    QVERIFY(!MapInstaller(m_maps).install(planFor({10, 11})).installed);
    MapInstaller::setStepHook({});

    QVERIFY(MapInstaller(m_maps).recover());
    QCOMPARE(installedFiles(), m_before);
    // Nothing is left to put back a second time.
    QVERIFY(MapInstaller(m_maps).recover());
    QVERIFY(MapInstaller(m_maps).install(planFor({10, 11})).installed);
    QMap<QString, QByteArray> expected = m_before;
    expected.remove("HalvornWest/Info.xml");
    expected.remove("HalvornWest/map.img");
    expected["HalvornNorth/map.img"] = "north 24";
    expected["HalvornSouth/map.img"] = "south 24";
    expected["HalvornSouth/Info.xml"] = "<MapProduct><ID>11</ID></MapProduct>";
    QCOMPARE(snapshot(m_maps), expected);
    QVERIFY(!QFileInfo::exists(m_download));
}

void TestMapInstaller::refusesAnUnknownMapsFolder()
{
    QVERIFY(!MapInstaller(QString()).recover());
    QVERIFY(!MapInstaller(QString()).install(planFor({10})).installed);
    QCOMPARE(snapshot(m_maps).size(), m_before.size() + snapshot(m_download).size());
}

HALVORNSYNC_TEST_MAIN(TestMapInstaller)
#include "tst_mapinstaller.moc"
