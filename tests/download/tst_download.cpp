#include "FakePlatform.h"
#include "PageRecorder.h"
#include "PopupAnswerer.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "VendorServiceProcess.h"
#include "app/Core.h"
#include "app/PageFactory.h"
#include "app/Startup.h"
#include "download/CheckMd5Worker.h"
#include "download/DownloadCache.h"
#include "download/DownloadEstimate.h"
#include "download/FileDownload.h"
#include "download/PartialDownload.h"
#include "maps/InstalledMaps.h"
#include "maps/MapInstaller.h"
#include "pages/shared/DownloadGPSDataPage.h"
#include "service/ProductInfo.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>

namespace {
constexpr qint64 kMapSize = 1024 * 1024;
using Button = PopupAnswerer::Button;
using Answers = QList<RouteAnswer>;
using Step = MapInstaller::Step;

// Sets one value of the record kept beside the partial download `target`.
bool editRecord(const QString &target, const char *key, const QJsonValue &value)
{
    QFile file(PartialDownload::recordPath(target));
    if (!file.open(QIODevice::ReadWrite)) {
        return false;
    }
    QJsonObject record = QJsonDocument::fromJson(file.readAll()).object();
    record.insert(QLatin1String(key), value);
    const QByteArray json = QJsonDocument(record).toJson();
    return file.resize(0) && file.write(json) == json.size();
}
} // namespace

// The download procedure: its estimate, its checksum, and its attempts against the stand-in
// vendor service's faulty files, with the watchdog and answer times shortened.
class TestDownload : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void estimate_data();
    void estimate();
    void checksum_data();
    void checksum();
    void attempt_data();
    void attempt();
    void watchdogOfAFailedAttemptNeverEndsTheNext();
    void spaceRule_data();
    void spaceRule();
    void pages_data();
    void pages();
    void mapInstall_data();
    void mapInstall();
    void resume_data();
    void resume();
    void proxy();
    void gpsDataFolderName();

private:
    QUrl fileUrl(const QString &name) const
    {
        return m_service.baseUrl().resolved(QUrl(QStringLiteral("/files/") + name));
    }

    VendorServiceProcess m_service{{kMapSize, {}, {}, {}}};
    qint64 m_mapSize = 0; // the archive's, a little more than the maps it holds
};

void TestDownload::initTestCase()
{
    QVERIFY2(m_service.start(), qPrintable(m_service.errorString()));
    m_service.useAsServiceAddress();
    FileDownload::setTiming({20, 300, 300});
    Core::instance();
    FileDownload head;
    QSignalSpy known(&head, &FileDownload::sizeKnown);
    head.setUrl(fileUrl(QStringLiteral("halvorn-topo-norway.zip")));
    head.askFileSize();
    QTRY_COMPARE(known.size(), 1);
    m_mapSize = known.at(0).at(0).toLongLong();
    QVERIFY(m_mapSize > kMapSize);
}

// Each tick's time text as a letter: E an estimate, S "stalled", - none.
void TestDownload::estimate_data()
{
    QTest::addColumn<QList<qint64>>("received");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<QString>("texts");
    QTest::addColumn<QString>("lastTime"); // null: not checked
    QTest::addColumn<qint64>("from");      // bytes there before the attempt
    const auto row = [](const char *name, const QList<qint64> &received, qint64 total,
                        const char *texts, const char *lastTime, qint64 from = 0) {
        QTest::newRow(name) << received << total << texts << QString(lastTime) << from;
    };
    // Seeded with the first second: 9400 left at 1000/s; then 1000 × 0.4 + 500 × 0.6 = 700/s,
    // and 8900 / 700 = 12.7 s.
    row("seeded, then smoothed", {1000, 1500}, 10400, "EE", "estimated time: 13 sec");
    // Six quiet seconds are a pause; the seventh is a stall; new data ends it at once.
    row("stall and recovery", {1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 2000}, 10000,
        "EEEEEEESSE", nullptr);
    row("nothing in the first second", {0}, 10000, "S", "estimated time: stalled");
    row("no total announced", {3 << 20}, -1, "-", "");
    row("all received", {5 << 20}, 5 << 20, "E", "estimated time: 0 sec");
    // Continued at 6000: the rate is this attempt's 1000/s, not the 7000 already there.
    row("continued", {7000, 8000}, 10000, "EE", "estimated time: 2 sec", 6000);
}

void TestDownload::estimate()
{
    QFETCH(QList<qint64>, received);
    QFETCH(qint64, total);
    QFETCH(QString, lastTime);
    QFETCH(qint64, from);
    DownloadEstimate estimate;
    estimate.restart(from);
    QString seen;
    DownloadEstimate::Tick tick;
    for (qint64 bytes : received) {
        tick = estimate.tick(bytes, total);
        seen += tick.timeLeft.isEmpty()              ? QLatin1Char('-')
                : tick.timeLeft.contains(u"stalled") ? QLatin1Char('S')
                                                     : QLatin1Char('E');
    }
    QTEST(seen, "texts");
    if (!lastTime.isNull()) {
        QCOMPARE(tick.timeLeft, lastTime);
    }
}

void TestDownload::checksum_data()
{
    QTest::addColumn<QByteArray>("content"); // null: no file at all
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("result");
    const QString abc = "900150983cd24fb0d6963f7d28e17f72";
    const QString empty = "d41d8cd98f00b204e9800998ecf8427e";
    QTest::newRow("capitals and blanks") << QByteArray("abc") << " " + abc.toUpper() + "\r\n"
                                         << true;
    QTest::newRow("another file") << QByteArray("abd") << abc << false;
    QTest::newRow("nothing announced") << QByteArray("") << "" << false;
    QTest::newRow("file gone before the check") << QByteArray() << empty << false;
}

void TestDownload::checksum()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    const QString path = QDir::temp().filePath(QStringLiteral("checked.bin"));
    QFile::remove(path);
    QVERIFY(content.isNull() || TestFiles::write(path, content));

    auto *worker = new CheckMd5Worker(this, path, expected);
    QSignalSpy results(worker, &CheckMd5Worker::resultReady);
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
    QTRY_COMPARE(results.size(), 1);
    QTEST(results.at(0).at(0).toBool(), "result");
}

// What each file of the service gives a size query, and then an attempt to download it.
void TestDownload::attempt_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<qint64>("size"); // -1: the size query fails with `error`
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("before"); // an attempt that fails first, into the same file
    QTest::addColumn<bool>("completes");
    const QString map = "halvorn-topo-norway";
    const auto row = [](const char *name, const QString &file, qint64 size, const char *error,
                        const QString &before, bool completes) {
        QTest::newRow(name) << file << size << error << before << completes;
    };
    // The dropped attempt leaves part of the file behind; the new one must not add to it.
    row("whole file after a dropped attempt", map + ".zip", m_mapSize, "", map + "-drop.zip", true);
    row("no Content-Length: size 0", map + "-nolength.zip", 0, "", "", true);
    row("stalls: the watchdog ends it", map + "-stall.zip", m_mapSize, "", "", false);
    row("no answer at all", map + "-silent.zip", -1, "The server did not answer.", "", false);
}

void TestDownload::attempt()
{
    QFETCH(QString, file);
    QFETCH(QString, before);
    QFETCH(bool, completes);
    FileDownload head;
    QSignalSpy known(&head, &FileDownload::sizeKnown);
    QSignalSpy unknown(&head, &FileDownload::sizeQueryFailed);
    head.setUrl(fileUrl(file));
    head.askFileSize();
    QTRY_COMPARE(known.size() + unknown.size(), 1);
    QTEST(known.isEmpty() ? -1 : known.at(0).at(0).toLongLong(), "size");
    QTEST(unknown.isEmpty() ? QString() : unknown.at(0).at(0).toString(), "error");

    FileDownload download;
    QSignalSpy finished(&download, &FileDownload::finished);
    QSignalSpy failed(&download, &FileDownload::failed);
    download.setTargetPath(QDir::temp().filePath(QStringLiteral("attempt.zip")));
    if (!before.isEmpty()) {
        download.setUrl(fileUrl(before));
        download.start();
        QTRY_COMPARE(failed.size(), 1);
        QVERIFY(QFileInfo(download.targetPath()).size() > 0);
        failed.clear();
    }
    download.setUrl(fileUrl(file));
    download.start();

    QTRY_COMPARE(finished.size() + failed.size(), 1);
    QCOMPARE(finished.size(), completes ? 1 : 0);
    if (completes) {
        QCOMPARE(QFileInfo(download.targetPath()).size(), m_mapSize);
    }
    // An attempt ends once: nothing more comes from it.
    QTest::qWait(400);
    QCOMPARE(finished.size() + failed.size(), 1);
}

// The watchdog of an attempt is armed when the next attempt starts. The next one gets no answer
// at all, so it must fail for that, after the answer time, and not on the old watchdog.
void TestDownload::watchdogOfAFailedAttemptNeverEndsTheNext()
{
    FileDownload::setTiming({20, 300, 1000});
    FileDownload download;
    QSignalSpy failed(&download, &FileDownload::failed);
    qint64 lastReceived = -1;
    bool watchdogArmed = false;
    connect(&download, &FileDownload::statusChanged, this, [&] {
        watchdogArmed = download.bytesReceived() > 0 && download.bytesReceived() == lastReceived;
        lastReceived = download.bytesReceived();
    });
    download.setTargetPath(QDir::temp().filePath(QStringLiteral("watched.zip")));
    download.setUrl(fileUrl(QStringLiteral("halvorn-topo-norway-stall.zip")));
    download.start();
    QTRY_VERIFY(watchdogArmed);
    QCOMPARE(failed.size(), 0);

    download.setUrl(fileUrl(QStringLiteral("halvorn-topo-norway-silent.zip")));
    download.start();
    QTRY_COMPARE(failed.size(), 1);
    FileDownload::setTiming({20, 300, 300});
    QCOMPARE(failed.at(0).at(0).toString(), QStringLiteral("The server did not answer."));
}

// Three times the file must be free where it is written and where what is made of it goes; one
// byte less is asked about again each time the message is closed, until there is room.
void TestDownload::spaceRule_data()
{
    QTest::addColumn<PageId>("page");
    QTest::addColumn<QString>("shortOfRoom"); // maps, cache or downloads folder
    QTest::addColumn<QString>("message");
    const QString install = "Not enough free space on main drive for download and installation.";
    const QString unpack = "Not enough free space on main drive for download and unpacking.";
    QTest::newRow("map: maps folder") << PageId::DownloadMapPCPage << "maps" << install;
    QTest::newRow("GPS data: the archive's folder")
        << PageId::DownloadGPSDataPage << "cache" << unpack;
    QTest::newRow("GPS data: where it is unpacked")
        << PageId::DownloadGPSDataPage << "downloads" << unpack;
}

void TestDownload::spaceRule()
{
    QFETCH(PageId, page);
    QFETCH(QString, shortOfRoom);
    QFETCH(QString, message);
    FakePlatform platform;
    // Resolved with the platform replaced: the maps folder is remembered once found.
    const QString shortPath =
        shortOfRoom == "maps" ? Core::garminMapsFolder()
        : shortOfRoom == "cache"
            ? DownloadCache::folder()
            : QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    platform.freeBytes = qint64(1) << 40;
    platform.freeBytesAt.insert(shortPath, 3 * m_mapSize - 1);
    auto *product = new ProductInfo;
    product->pcSubProduct.map = fileUrl(QStringLiteral("halvorn-topo-norway.zip"));
    product->additionalGpsDataName = QStringLiteral("Huts");
    product->additionalGpsDataUrl = product->pcSubProduct.map;
    Core::instance()->setProductInfo(product);
    PopupAnswerer answerer;
    answerer.answerUnexpectedWith(Button::Right);

    const auto asked = [&answerer, &message] {
        return std::count_if(answerer.shown().cbegin(), answerer.shown().cend(), [&](auto &shown) {
            return shown.text == message + "<br/>Would you like to try again?";
        });
    };

    std::unique_ptr<QWidget> shown(createPage(page));
    auto *timeLabel = shown->findChild<QLabel *>(QStringLiteral("TimeLabel"));
    QTRY_VERIFY(asked() >= 2);
    QVERIFY(!timeLabel->isVisibleTo(shown.get()));
    platform.freeBytesAt.insert(shortPath, 3 * m_mapSize);
    QTRY_VERIFY(timeLabel->isVisibleTo(shown.get()));
}

// The download pages when what they fetch is bad: no question that asks again is without NO.
void TestDownload::pages_data()
{
    QTest::addColumn<PageId>("page");
    QTest::addColumn<QString>("url"); // a file of the service, or a whole address
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<QStringList>("popups"); // SERVICE stands for the service's address
    QTest::addColumn<PageId>("next");
    const auto row = [](const char *name, PageId page, const char *url, const Answers &answers,
                        const QStringList &popups, PageId next) {
        QTest::newRow(name) << page << QString(url) << answers << popups << next;
    };
    const QString offer = "Your map comes with <b>Huts &lt;North&gt;</b>. Would you like to "
                          "download them to your PC?";
    // Asked again after YES, as a failed download is; the network's words stay text.
    const QString notFound = "?<br/>Error transferring SERVICE/files/none.zip - server replied: "
                             "Not Found";
    const QString failed = "Download failed. Would you like to try again" + notFound;
    const QString gpsFailed =
        "The download of <b>Huts &lt;North&gt;</b> failed.<br/>Would you like to try again" +
        notFound;
    row("size query fails: map", PageId::DownloadMapPCPage, "none.zip", {Yes, No}, {failed, failed},
        PageId::MajorReleaseAvailablePage);
    row("size query fails: GPS data", PageId::DownloadGPSDataPage, "none.zip", {Yes, Yes, No},
        {offer, gpsFailed, gpsFailed}, PageId::ThankYouPage);
    // Three times its size is past what a 64-bit number holds.
    row("map larger than any volume", PageId::DownloadMapPCPage, "halvorn-topo-norway-absurd.zip",
        {No},
        {"Not enough free space on main drive for download and installation.<br/>Would you like "
         "to try again?"},
        PageId::MajorReleaseAvailablePage);
    row("map not at a web address: nothing fetched", PageId::DownloadMapPCPage,
        "file:///etc/passwd", {Yes},
        {"Nothing was downloaded: <b>file:///etc/passwd</b> is not a web address."},
        PageId::MajorReleaseAvailablePage);
    const QString corrupt = "The downloaded installer is corrupt.";
    row("installer corrupt: twice again by itself, then the user gives up",
        PageId::DownloadBaseCampPage, "install_basecamp.exe", {Yes, Yes, No},
        {corrupt, corrupt, corrupt + " Would you like to try downloading again?"},
        PageId::MajorReleaseAvailablePage);
    // The name comes from the service: it is shown as text, never as markup.
    row("GPS data corrupt, given up", PageId::DownloadGPSDataPage, "halvorn-gps-data-corrupt.zip",
        {Yes, No},
        {offer, "The downloaded data is corrupt. Would you like to try downloading again?"},
        PageId::ThankYouPage);
}

void TestDownload::pages()
{
    QFETCH(PageId, page);
    QFETCH(QString, url);
    QFETCH(Answers, answers);
    // Each page reads only its own part of the product.
    auto *product = new ProductInfo;
    const QUrl address = url.contains(u':') ? QUrl(url) : fileUrl(url);
    product->pcSubProduct.map = address;
    product->basecampPcDownload = address;
    product->basecampPcMd5 = QStringLiteral("0123456789abcdef0123456789abcdef");
    product->additionalGpsDataName = QStringLiteral("Huts <North>");
    product->additionalGpsDataUrl = address;
    Core::instance()->setProductInfo(product);
    PopupAnswerer answerer;
    answerer.expect(answers);
    answerer.answerUnexpectedWith(Button::Right);
    PageRecorder recorder;

    std::unique_ptr<QWidget> shownPage(createPage(page));
    QTRY_COMPARE_WITH_TIMEOUT(recorder.pages.size(), 1, 20000);
    QTEST(recorder.pages.first(), "next");
    QStringList shown;
    for (const PopupAnswerer::Shown &popup : answerer.shown()) {
        shown.append(QString(popup.text).replace(m_service.baseUrl().toString(), "SERVICE"));
    }
    QTEST(shown, "popups");
}

// The map page's install, and the first page's recovery, as the user meets them: what every
// question says, what is reported, which maps are installed after, and the computer kept awake
// from the download to the end of the install.
void TestDownload::mapInstall_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<Answers>("answers"); // one for each question
    QTest::addColumn<QString>("told");    // in every question
    QTest::addColumn<QStringList>("versions");
    QTest::newRow("folder in use: YES installs again without a download, NO leaves")
        << "in use" << Answers{Yes, No}
        << "the folder <b>HalvornTopoNorwaySouth</b> could not be moved" << QStringList{"24.1"};
    QTest::newRow("old map's place taken: named where it is kept, not called unchanged")
        << "taken" << Answers{Yes} << "HalvornSyncSetAside/HalvornTopoNorwayNorth" << QStringList();
    QTest::newRow("no map for the product: nothing withdrawn, nothing reported")
        << "no map" << Answers{No} << "holds no map for this product"
        << QStringList{"23.0", "24.1"};
    QTest::newRow("left aside before: put back before the download folder goes")
        << "left aside" << Answers() << QString() << QStringList{"24.2.0", "24.2.0", "5.0"};
    QTest::newRow("left aside, its place taken, at the start: named")
        << "at start" << Answers{Yes} << "HalvornSyncSetAside/HalvornOther"
        << QStringList{"1.0", "24.1"};
}

void TestDownload::mapInstall()
{
    QFETCH(QString, setup);
    FakePlatform platform;
    const QString maps = Core::garminMapsFolder();
    const auto install = [](const char *folder, int family, const char *version) {
        return TestSandbox::addInstalledMap(folder, family, QString("Halvorn ") + version);
    };
    QDir(maps).removeRecursively();
    QVERIFY(install("HalvornTopoNorwayNorth", 4660, "24.1"));
    std::unique_ptr<ProductInfo> product = m_service.product(QStringLiteral("HALV-PC-0001"));
    if (setup == "no map") {
        product->isPcFormat = false;
        product->pcSubProduct.fids = {9999};
        product->pcSubProduct.removeFids = {4600};
        QVERIFY(install("HalvornWithdrawn", 4600, "23.0"));
    } else if (setup != "in use" && setup != "taken") { // cut short once the old Other is aside
        QVERIFY(install("HalvornOther", 90, "5.0") &&
                install("HalvornSyncDownloads/HalvornOther", 90, ""));
        MapInstaller::setStepHook([](const QString &from, const QString &) {
            return from.contains(u"Downloads") ? Step::Crash : Step::Go;
        });
        MapInstaller(maps).install(MapInstallPlan::read(maps, {90}, {}, false));
        // Its journal emptied, as a power cut may leave it.
        QVERIFY(TestFiles::write(InstalledMaps::downloadFolder(maps) + ".journal", ""));
        QVERIFY(setup == "left aside" || install("HalvornOther", 91, "1.0")); // someone else's
    }
    Core::instance()->setProductInfo(product.release());
    m_service.clearRequests();
    int moves = 0;
    bool awake = true; // at every move, and never let sleep from the download to the first
    MapInstaller::setStepHook([&](const QString &from, const QString &to) {
        awake = awake && platform.keptAwake && (moves++ > 0 || platform.sleepsAllowed == 0);
        // "taken": another program takes the old North's place.
        const bool fail = (setup == "in use" && from.endsWith(u"South")) ||
                          (setup == "taken" && to.endsWith(u"Maps/HalvornTopoNorwayNorth") &&
                           TestFiles::write(to + "/notes.txt", "theirs"));
        return fail ? Step::Fail : Step::Go;
    });
    int downloads = 0;
    QObject counter;
    connect(Core::instance()->networkManager(), &QNetworkAccessManager::finished, &counter,
            [&](QNetworkReply *reply) { downloads += reply->url().path().startsWith(u"/files/"); });
    QFETCH(Answers, answers);
    PopupAnswerer answerer;
    answerer.expect(answers);
    answerer.answerUnexpectedWith(Button::Left); // counted below
    PageRecorder recorder;

    const bool atStart = setup == "at start";
    std::unique_ptr<QWidget> page(
        createPage(atStart ? PageId::ChooseLanguagePage : PageId::DownloadMapPCPage));
    if (atStart) {
        page->findChild<QPushButton *>(QStringLiteral("EnglishButton"))->click();
    }
    QTRY_COMPARE_WITH_TIMEOUT(recorder.pages.size(), 1, 20000);
    MapInstaller::setStepHook({});
    QFETCH(QString, told);
    QCOMPARE(answerer.shownCount(), answers.size());
    for (const PopupAnswerer::Shown &question : answerer.shown()) {
        QVERIFY2(question.text.contains(told), qPrintable(question.text));
        QCOMPARE(question.text.contains(u"installed map is unchanged"), setup == "in use");
    }
    // Reported only when installed; a new try installs what was downloaded (one HEAD, one GET).
    const bool installed = answers.isEmpty();
    QCOMPARE(recorder.pages.first(), atStart     ? PageId::InstallUpdateUninstallPage
                                     : installed ? PageId::InformNewPCVersionPage
                                                 : PageId::MajorReleaseAvailablePage);
    QCOMPARE(m_service.requests(QStringLiteral("update_info_pc")).size(), installed ? 1 : 0);
    QCOMPARE(downloads, atStart ? 0 : 2);
    QStringList versions; // of the maps installed
    for (const QString &info : Core::installedMapInfoFiles()) {
        versions.append(Core::readMapVersion(info).toString());
    }
    versions.sort();
    QTEST(versions, "versions");
    QCOMPARE(QFile::exists(InstalledMaps::setAsideFolder(maps) + "/HalvornTopoNorwayNorth"),
             setup == "taken");
    QVERIFY(awake);
    QVERIFY(!platform.keptAwake);
}

// The computer map cut short at 60 %, then downloaded again: on YES, or by a new page (a new run)
// after NO. Each GET is R (Range with If-Range) or - (from byte 0); `part`: the last GET fetched
// less than 45 % of the map again, else the whole map was served once more.
void TestDownload::resume_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("between"); // empty: YES on the same page
    QTest::addColumn<QString>("gets");
    QTest::addColumn<bool>("part");
    QTest::addColumn<PageId>("next");
    const auto row = [](const char *name, const char *file, const char *between, const char *gets,
                        bool part, PageId next = PageId::InformNewPCVersionPage) {
        QTest::newRow(name) << QString("halvorn-topo-norway-%1.zip").arg(file) << QString(between)
                            << QString(gets) << part << next;
    };
    // Served at a modest rate, as over a real line: all that was sent before the break arrives.
    row("YES continues", "drop-once-slow", "", "-R", true);
    row("server without ranges: from byte 0", "no-ranges", "", "--", false);
    row("map changed meanwhile: from byte 0", "changed", "", "-R", false);
    row("a new run continues", "drop-once-slow", "new run", "-R", true);
    row("a new run, 416: from byte 0", "drop-once-slow", "416", "-R-", false);
    row("a record 15 days old: removed at start", "drop-once-slow", "15 days", "--", false);
    // Resumed, then judged corrupt: YES fetches it all again, then NO.
    row("corrupt: from byte 0", "drop-once-slow", "corrupt", "-R-", false,
        PageId::MajorReleaseAvailablePage);
}

void TestDownload::resume()
{
    QFETCH(QString, file);
    QFETCH(QString, between);
    FakePlatform platform;
    const QString maps = Core::garminMapsFolder();
    QDir(maps).removeRecursively();
    const QString target = InstalledMaps::downloadFolder(maps) + "/map_file.zip";
    // An address of its own: the service breaks off each address's first download only.
    const QUrl url = fileUrl(file + "?row=" + QTest::currentDataTag());
    PageId next = PageId::ChooseLanguagePage; // where the last page left for
    const auto runPage = [&](const Answers &answers, bool corrupt = false) {
        std::unique_ptr<ProductInfo> product = m_service.product(QStringLiteral("HALV-PC-0001"));
        product->pcSubProduct.map = url;
        if (corrupt) {
            product->pcSubProduct.md5 = QStringLiteral("0123456789abcdef0123456789abcdef");
        }
        Core::instance()->setProductInfo(product.release());
        PopupAnswerer answerer;
        answerer.expect(answers);
        answerer.answerUnexpectedWith(Button::Left);
        PageRecorder recorder;
        std::unique_ptr<QWidget> page(createPage(PageId::DownloadMapPCPage));
        QTRY_COMPARE_WITH_TIMEOUT(recorder.pages.size(), 1, 20000);
        QCOMPARE(answerer.unexpectedCount(), 0);
        next = recorder.pages.first();
    };
    // As the program sent them: the network layer may send a broken-off request again itself.
    QString seen;
    qint64 continuedAt = 0;
    QObject counter;
    connect(Core::instance()->networkManager(), &QNetworkAccessManager::finished, &counter,
            [&](QNetworkReply *reply) {
                const QNetworkRequest request = reply->request();
                if (reply->operation() != QNetworkAccessManager::GetOperation ||
                    !reply->url().path().startsWith(u"/files/")) {
                    return;
                }
                const QByteArray range = request.rawHeader("Range");
                const bool ranged = !range.isEmpty() && !request.rawHeader("If-Range").isEmpty();
                seen += ranged ? 'R' : '-';
                continuedAt = ranged ? range.mid(6).chopped(1).toLongLong() : 0;
            });
    m_service.clearRequests();
    if (between.isEmpty()) {
        runPage({Yes});
    } else {
        runPage({No});
        QCOMPARE(next, PageId::MajorReleaseAvailablePage);
        QVERIFY(QFileInfo(target).size() > 0);
        if (between == "416") { // longer than the map, as the record says
            QVERIFY(editRecord(target, "bytes", m_mapSize + 1) &&
                    QFile::resize(target, m_mapSize + 1));
        } else if (between == "15 days") {
            const QDateTime old = QDateTime::currentDateTimeUtc().addDays(-15);
            QVERIFY(editRecord(target, "saved", old.toString(Qt::ISODate)));
            Startup::removeStaleDownloads();
            QVERIFY(!QFile::exists(target));
        }
        const bool corrupt = between == "corrupt";
        runPage(corrupt ? Answers{Yes, No} : Answers(), corrupt);
    }
    QTEST(next, "next");

    QTEST(seen, "gets");
    QFETCH(bool, part);
    if (part) { // what is fetched again
        QVERIFY2(m_mapSize - continuedAt < m_mapSize * 45 / 100,
                 qPrintable(QString::number(continuedAt)));
    } else {
        const QList<QJsonObject> served = m_service.requests(QStringLiteral("file"));
        QVERIFY(std::any_of(served.cbegin(), served.cend(), [this](const QJsonObject &entry) {
            return entry.value("status") == 200 && entry.value("sent").toInteger() == m_mapSize &&
                   entry.value("method") == "GET";
        }));
    }
    QCOMPARE(QFile::exists(PartialDownload::recordPath(target)), false);
}

// The system's proxy, named by the variable: the download's request goes to it, and its demand
// for a password is told in words naming it.
void TestDownload::proxy()
{
    QTcpServer proxy;
    QVERIFY(proxy.listen(QHostAddress::LocalHost));
    QByteArray asked;
    connect(&proxy, &QTcpServer::newConnection, this, [&] {
        QTcpSocket *socket = proxy.nextPendingConnection();
        connect(socket, &QTcpSocket::readyRead, socket, [&asked, socket] {
            asked += socket->readAll();
            socket->write("HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: "
                          "Basic realm=\"office\"\r\nContent-Length: 0\r\n\r\n");
            socket->disconnectFromHost();
        });
    });
    const QString address = QStringLiteral("127.0.0.1:%1").arg(proxy.serverPort());
    qputenv("http_proxy", ("http://" + address).toLatin1());
    qputenv("no_proxy", "");
    FileDownload download;
    QSignalSpy failed(&download, &FileDownload::sizeQueryFailed);
    // A name only the proxy looks up: loopback addresses are never sent to a proxy.
    const QUrl url(QStringLiteral("http://downloads.halvorn.test/files/map.zip"));
    download.setUrl(url);
    download.askFileSize();
    QTRY_COMPARE(failed.size(), 1);
    qunsetenv("http_proxy");
    qunsetenv("no_proxy");
    QVERIFY2(asked.startsWith("HEAD " + url.toEncoded()), asked.constData());
    QVERIFY2(failed.at(0).at(0).toString().startsWith("The proxy server " + address + " asks"),
             qPrintable(failed.at(0).at(0).toString()));
}

// Separators, parents, control characters, trailing dots and device names cannot reach the disk.
void TestDownload::gpsDataFolderName()
{
    QCOMPARE(DownloadGPSDataPage::folderName("../..\\Huts/<2024>"), ".. .. Huts 2024");
    QCOMPARE(DownloadGPSDataPage::folderName(".."), "additional_gps_data");
    QCOMPARE(DownloadGPSDataPage::folderName("Huts\t\nNord\x01 ."), "Huts Nord");
    QCOMPARE(DownloadGPSDataPage::folderName("nul.gpx"), "_nul.gpx");
}

HALVORNSYNC_TEST_MAIN(TestDownload)
#include "tst_download.moc"
