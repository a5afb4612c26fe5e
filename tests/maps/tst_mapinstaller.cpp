#include "FakePlatform.h"
#include "PowerCut.h"
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

bool installed(const MapInstaller::Result &result)
{
    return result.outcome == MapInstaller::Outcome::Installed;
}

bool settled(const MapInstaller::Recovery &recovery)
{
    return recovery.settled;
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
    void powerCutBeforeEachMove_data();
    void powerCutBeforeEachMove();
    void damagedJournal_data();
    void damagedJournal();
    void linkInPlaceOfAWorkingFolder_data();
    void linkInPlaceOfAWorkingFolder();
    void refusesAnUnknownMapsFolder();

private:
    void layOut();
    MapInstallPlan planFor(const QList<qint32> &families) const;
    // The maps folder without the installer's own folders and journal.
    QMap<QString, QByteArray> installedFiles() const
    {
        QMap<QString, QByteArray> files = snapshot(m_maps);
        files.removeIf([](auto it) { return it.key().startsWith(u"HalvornSync"); });
        return files;
    }
    // What the maps folder holds with the download installed.
    QMap<QString, QByteArray> newMap() const;
    QString journal() const { return m_download + QStringLiteral(".journal"); }

    FakePlatform m_platform;
    QString m_maps;
    QString m_download;
    QMap<QString, QByteArray> m_before;
};

void TestMapInstaller::init()
{
    layOut();
}

void TestMapInstaller::layOut()
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

QMap<QString, QByteArray> TestMapInstaller::newMap() const
{
    QMap<QString, QByteArray> expected = m_before;
    expected.remove("HalvornWest/Info.xml");
    expected.remove("HalvornWest/map.img");
    expected["HalvornNorth/map.img"] = "north 24";
    expected["HalvornSouth/map.img"] = "south 24";
    expected["HalvornSouth/Info.xml"] = "<MapProduct><ID>11</ID></MapProduct>";
    return expected;
}

MapInstallPlan TestMapInstaller::planFor(const QList<qint32> &families) const
{
    return MapInstallPlan::read(m_maps, families, {12}, false);
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
    QVERIFY(!installed(result));
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
    QVERIFY(!installed(MapInstaller(m_maps).install(planFor({10, 11}))));
    MapInstaller::setStepHook({});

    QVERIFY(settled(MapInstaller(m_maps).recover()));
    QCOMPARE(installedFiles(), m_before);
    // Nothing is left to put back a second time.
    QVERIFY(settled(MapInstaller(m_maps).recover()));
    QVERIFY(installed(MapInstaller(m_maps).install(planFor({10, 11}))));
    QCOMPARE(snapshot(m_maps), newMap());
    QVERIFY(!QFileInfo::exists(m_download));
}

// The power goes just before the n-th move: the file system keeps what was synced, and of the
// moves made since the last folder sync any first few. The next start's recovery must leave the
// old map whole or the new one, for every such few.
void TestMapInstaller::powerCutBeforeEachMove_data()
{
    QTest::addColumn<int>("cutBefore");
    for (int n = 1; n <= 4; ++n) { // two set aside, two moved in
        QTest::addRow("before move %d", n) << n;
    }
}

void TestMapInstaller::powerCutBeforeEachMove()
{
    QFETCH(int, cutBefore);
    for (int keptMoves = 0;; ++keptMoves) {
        if (keptMoves > 0) {
            cleanup();
            layOut();
        }
        PowerCut power(m_platform, m_maps, m_download, cutBefore);
        MapInstaller(m_maps).install(planFor({10, 11}));
        QVERIFY(power.reached());
        if (keptMoves > power.unsettledMoves()) {
            break;
        }
        power.cut(keptMoves);
        // Maps left set aside are never taken for installed maps.
        QVERIFY(!InstalledMaps::vendorMapFolders(m_maps).contains("HalvornSyncSetAside"));
        QVERIFY(InstalledMaps::installedInfoFiles(m_maps).filter("HalvornSyncSetAside").isEmpty());

        MapInstaller(m_maps).recover(); // the next start
        const QMap<QString, QByteArray> after = installedFiles();
        QVERIFY2(after == m_before || after == newMap(),
                 qPrintable(QString("%1 of the unsynced moves kept: %2")
                                .arg(keptMoves)
                                .arg(QStringList(after.keys()).join(u' '))));
    }
}

// Journals that lost lines, or gained one, with the maps as a cut or a fault left them.
void TestMapInstaller::damagedJournal_data()
{
    QTest::addColumn<int>("crashAt"); // 0: the install runs to its end
    QTest::addColumn<QString>("damage");
    QTest::addColumn<bool>("newMapStays");
    QTest::newRow("done lost after the old maps were deleted") << 0 << "done" << true;
    QTest::newRow("aside lines lost") << 3 << "aside" << false;
    QTest::newRow("an in line for a folder never moved") << 1 << "in" << false;
    QTest::newRow("no journal, maps set aside") << 3 << "all" << false;
}

void TestMapInstaller::damagedJournal()
{
    QFETCH(int, crashAt);
    QFETCH(QString, damage);
    int moves = 0;
    QByteArray lastLines; // the journal as it stood at the last move
    MapInstaller::setStepHook([&](const QString &, const QString &) {
        QFile file(journal());
        file.open(QIODevice::ReadOnly);
        lastLines = file.readAll();
        return ++moves == crashAt ? Step::Crash : Step::Go;
    });
    QCOMPARE(installed(MapInstaller(m_maps).install(planFor({10, 11}))), crashAt == 0);
    MapInstaller::setStepHook({});
    if (damage == "all") {
        QVERIFY(QFile::remove(journal()));
    } else if (damage == "in") {
        QVERIFY(
            TestFiles::write(journal(), lastLines + "[\"in\",\"HalvornNew\",\"HalvornOther\"]\n"));
    } else if (damage == "done") {
        QVERIFY(TestFiles::write(journal(), lastLines));
    } else {
        QVERIFY(TestFiles::dropLines(journal(), "[\"" + damage.toUtf8() + "\""));
    }

    MapInstaller(m_maps).recover();
    // What the next download attempt deletes.
    QVERIFY(m_platform.removeFolder(m_download));
    QFETCH(bool, newMapStays);
    QCOMPARE(installedFiles(), newMapStays ? newMap() : m_before);
}

// A link where the installer keeps its things, to a folder of the user's: nothing is done
// through it.
void TestMapInstaller::linkInPlaceOfAWorkingFolder_data()
{
    QTest::addColumn<QString>("link"); // in the maps folder
    QTest::newRow("download folder") << "HalvornSyncDownloads";
    QTest::newRow("set-aside folder") << "HalvornSyncSetAside";
    QTest::newRow("journal") << "HalvornSyncDownloads.journal";
    QTest::newRow("set-aside folder of old, from an archive")
        << "HalvornSyncDownloads/set-aside-by-installer";
}

void TestMapInstaller::linkInPlaceOfAWorkingFolder()
{
    QFETCH(QString, link);
    const QString outside = QDir::homePath() + "/Documents";
    QVERIFY(TestFiles::write(outside + "/letter.txt", "mine"));
    if (link == "HalvornSyncDownloads") {
        // The download is found through the link, and is as much the user's as the letter.
        QVERIFY(QDir().rename(m_download, outside + "/download"));
    }
    const QString target = link.endsWith(".journal") ? outside + "/letter.txt" : outside;
    QVERIFY(QFile::link(target, m_maps + '/' + link));
    const QMap<QString, QByteArray> mine = snapshot(outside);

    MapInstaller(m_maps).recover();
    MapInstaller(m_maps).install(planFor({10, 11}));
    MapInstaller(m_maps).recover();
    QCOMPARE(snapshot(outside), mine);
    const QMap<QString, QByteArray> after = installedFiles();
    QVERIFY(after == m_before || after == newMap());
}

void TestMapInstaller::refusesAnUnknownMapsFolder()
{
    QVERIFY(!settled(MapInstaller(QString()).recover()));
    QVERIFY(!installed(MapInstaller(QString()).install(planFor({10}))));
    QCOMPARE(snapshot(m_maps).size(), m_before.size() + snapshot(m_download).size());
}

HALVORNSYNC_TEST_MAIN(TestMapInstaller)
#include "tst_mapinstaller.moc"
