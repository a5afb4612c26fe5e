#include "FakePlatform.h"
#include "SampleMapFiles.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "app/Core.h"
#include "maps/InstalledMaps.h"
#include "maps/MapInstaller.h"
#include "platform/platform.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <optional>

namespace {
using Step = MapInstaller::Step;

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file below `folder` with its content, by relative path.
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), contents(path));
    }
    return files;
}

bool writeMap(const QString &folder, int id, const QByteArray &edition)
{
    return TestFiles::write(folder + QStringLiteral("/Info.xml"), SampleMapFiles::infoXml(id)) &&
           TestFiles::write(folder + QStringLiteral("/map.img"), edition);
}

// A power cut on a file system that keeps its changes in order, standing in for the platform while
// it exists. It follows an install through its syncs and moves and stops it dead before move
// `cutBefore`; cut() then leaves on the disk each file as last synced (unpacked and never synced:
// empty; made and never synced: gone) and, of the moves since the last folder sync, the first
// `kept`.
struct PowerCut : FakePlatform
{
    PowerCut(const QString &maps, int cutBefore)
        : root(QFileInfo(maps).canonicalFilePath())
    {
        for (const auto &[path, data] : snapshot(root).asKeyValueRange()) {
            onDisk.insert(root + '/' + path, path.startsWith(u"HalvornSyncDownloads/") ? "" : data);
        }
        MapInstaller::setStepHook([this, cutBefore](const QString &from, const QString &to) {
            if (moves.size() + 1 == cutBefore) {
                return Step::Crash;
            }
            moves.append({from, to});
            follow(from, to);
            return Step::Go;
        });
    }
    ~PowerCut() override { MapInstaller::setStepHook({}); }
    bool syncFile(const QString &path) override
    {
        onDisk[path] = contents(path);
        return true;
    }
    bool syncFolder(const QString &) override
    {
        settled = moves.size();
        return true;
    }
    // The files below `from` are now below `to`.
    void follow(const QString &from, const QString &to)
    {
        QMap<QString, QByteArray> moved;
        for (const auto &[path, data] : onDisk.asKeyValueRange()) {
            moved.insert(path.startsWith(from + '/') ? to + path.mid(from.size()) : path, data);
        }
        onDisk = moved;
    }
    void cut(qsizetype kept)
    {
        for (qsizetype i = moves.size() - 1; i >= settled + kept; --i) {
            QVERIFY(QDir().rename(moves[i].second, moves[i].first));
            follow(moves[i].second, moves[i].first);
        }
        for (const QString &path : snapshot(root).keys()) {
            const QString file = root + '/' + path;
            QVERIFY(onDisk.contains(file) ? TestFiles::write(file, onDisk[file])
                                          : QFile::remove(file));
        }
    }

    const QString root;
    QMap<QString, QByteArray> onDisk; // by where each file is now
    QList<std::pair<QString, QString>> moves;
    qsizetype settled = 0;
};
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
    void leftBehind_data();
    void leftBehind();
    void earlierVersionsSetAside_data();
    void earlierVersionsSetAside();
    void refusesAnUnknownMapsFolder();

private:
    // The maps folder without the installer's own folders and journal.
    QMap<QString, QByteArray> installedFiles() const
    {
        QMap<QString, QByteArray> files = snapshot(m_maps);
        files.removeIf([](auto it) { return it.key().startsWith(u"HalvornSync"); });
        return files;
    }
    // What the maps folder holds with the download installed.
    QMap<QString, QByteArray> newMap() const
    {
        QMap<QString, QByteArray> expected = m_before;
        expected.remove("HalvornWest/Info.xml");
        expected.remove("HalvornWest/map.img");
        expected["HalvornNorth/map.img"] = "north 24";
        expected["HalvornSouth/map.img"] = "south 24";
        expected["HalvornSouth/Info.xml"] = SampleMapFiles::infoXml(11);
        return expected;
    }
    QString journal() const { return m_download + QStringLiteral(".journal"); }

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

// What a failed move, a power cut, a fault or an archive left for the next run: what the disk kept,
// journals that lost a line or gained one, links in place of the installer's own folders to the
// user's documents. The next run leaves the old map or the new one, and the user's documents as
// they were.
void TestMapInstaller::leftBehind_data()
{
    QTest::addColumn<int>("crashAt");  // the move cut before, or that fails; 0: none
    QTest::addColumn<QString>("left"); // what is done to the journal, or where a link is put
    QTest::addColumn<bool>("newMapStays");
    for (int n = 1; n <= 4; ++n) { // two set aside, two moved in
        for (int kept = 0; kept < n; ++kept) {
            QTest::addRow("power cut before move %d, %d moves kept", n, kept)
                << n << QString("power cut %1").arg(kept) << false;
        }
    }
    QTest::newRow("a folder of the new one's name there") << 0 << "name taken" << false;
    QTest::newRow("an old folder in use") << 2 << "fails" << false;
    QTest::newRow("a new folder in use") << 4 << "fails" << false;
    QTest::newRow("done lost after the old maps were deleted") << 0 << "no done" << true;
    QTest::newRow("lines lost but the first") << 3 << "no aside" << false;
    QTest::newRow("an in line for a folder never moved") << 1 << "stray in" << false;
    QTest::newRow("no journal, maps set aside") << 3 << "no journal" << false;
    QTest::newRow("link as download folder") << 0 << "HalvornSyncDownloads" << false;
    QTest::newRow("link as set-aside folder") << 0 << "HalvornSyncSetAside" << true;
    QTest::newRow("link as the old set-aside folder, from an archive")
        << 0 << "HalvornSyncDownloads/set-aside-by-installer" << true;
}

void TestMapInstaller::leftBehind()
{
    QFETCH(int, crashAt);
    QFETCH(QString, left);
    const QString outside = QDir::homePath() + "/Documents";
    QDir(outside).removeRecursively();
    QVERIFY(TestFiles::write(outside + "/letter.txt", "mine"));
    if (left == "HalvornSyncDownloads") { // the download is found through the link
        QVERIFY(QDir().rename(m_download, outside + "/download"));
    }
    if (left.startsWith(u"Halvorn")) {
        QVERIFY(QFile::link(outside, m_maps + '/' + left));
    } else if (left == "name taken") { // by someone else's map, not superseded
        QVERIFY(writeMap(m_maps + "/HalvornSouth", 77, "theirs"));
        m_before = installedFiles();
    }
    const QMap<QString, QByteArray> mine = snapshot(outside);
    int moves = 0;
    QByteArray lines; // the journal as it stood at the last move
    std::optional<PowerCut> power;
    if (left.startsWith(u"power cut")) {
        power.emplace(m_maps, crashAt);
    } else {
        MapInstaller::setStepHook([&](const QString &, const QString &) {
            lines = contents(journal());
            return ++moves != crashAt ? Step::Go : left == "fails" ? Step::Fail : Step::Crash;
        });
    }
    MapInstaller(m_maps).install(MapInstallPlan::read(m_maps, {10, 11}, {12}, false));
    MapInstaller::setStepHook({});
    if (power) {
        power->cut(left.back().digitValue());
        // Maps set aside are never taken for installed ones.
        QVERIFY(!InstalledMaps::vendorMapFolders(m_maps).contains("HalvornSyncSetAside"));
        QVERIFY(InstalledMaps::installedInfoFiles(m_maps).filter("SetAside").isEmpty());
    } else if (left == "no journal") {
        QVERIFY(QFile::remove(journal()));
    } else if (left == "no aside") { // the first line only
        QVERIFY(TestFiles::write(journal(), lines.left(lines.indexOf('\n') + 1)));
    } else if (left == "no done" || left == "stray in") {
        const QByteArray stray = "[\"in\",\"HalvornNew\",\"HalvornOther\"]\n";
        QVERIFY(TestFiles::write(journal(), lines + (left == "stray in" ? stray : "")));
    }

    MapInstaller(m_maps).recover();                          // the next start
    QVERIFY(Platform::instance()->removeFolder(m_download)); // as the next download does
    QFETCH(bool, newMapStays);
    QCOMPARE(installedFiles(), newMapStays ? newMap() : m_before);
    QCOMPARE(snapshot(outside), mine);
    QVERIFY(MapInstaller(m_maps).recover().settled); // nothing left set aside
}

// Earlier versions set maps aside inside the download folder, numbered, and named them in the
// journal: the download's reset must not take them.
void TestMapInstaller::earlierVersionsSetAside_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<bool>("settled");
    QTest::newRow("named: put back") << QByteArray("[\"aside\",0,\"HalvornNorth\"]\n") << true;
    QTest::newRow("not named: kept where it is") << QByteArray() << false;
}

void TestMapInstaller::earlierVersionsSetAside()
{
    QFETCH(QByteArray, lines);
    QFETCH(bool, settled);
    const QString older = m_download + "/set-aside-by-installer/0";
    QVERIFY(QDir().mkpath(older) && QDir().rmdir(older));
    QVERIFY(QDir().rename(m_maps + "/HalvornNorth", older));
    QVERIFY(TestFiles::write(journal(), lines));

    QCOMPARE(MapInstaller(m_maps).recover().settled, settled);
    if (settled) {
        QVERIFY(Platform::instance()->removeFolder(m_download)); // as the next download does
        QCOMPARE(installedFiles(), m_before);
    } else {
        QCOMPARE(contents(older + "/map.img"), QByteArray("north 23"));
    }
}

void TestMapInstaller::refusesAnUnknownMapsFolder()
{
    QVERIFY(!MapInstaller(QString()).recover().settled);
    QCOMPARE(
        MapInstaller(QString()).install(MapInstallPlan::read(m_maps, {10}, {12}, false)).outcome,
        MapInstaller::Outcome::Refused);
    QCOMPARE(snapshot(m_maps).size(), m_before.size() + snapshot(m_download).size());
}

HALVORNSYNC_TEST_MAIN(TestMapInstaller)
#include "tst_mapinstaller.moc"
