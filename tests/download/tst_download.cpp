#include "FakePlatform.h"
#include "PageRecorder.h"
#include "PopupAnswerer.h"
#include "TestMain.h"
#include "VendorServiceProcess.h"
#include "app/Core.h"
#include "app/PageFactory.h"
#include "download/CheckMd5Worker.h"
#include "download/DownloadEstimate.h"
#include "download/FileDownload.h"
#include "pages/computer/DownloadBaseCampPage.h"
#include "pages/shared/DownloadGPSDataPage.h"
#include "service/ProductInfo.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>

namespace {
constexpr qint64 kMapSize = 1024 * 1024;
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
    void sizeQuery_data();
    void sizeQuery();
    void attempt_data();
    void attempt();
    void newAttemptStartsFromAnEmptyFile();
    void watchdogOfAFailedAttemptNeverEndsTheNext();
    void spaceRuleOfTheMapPage_data();
    void spaceRuleOfTheMapPage();
    void nothingToDownloadMovesOn();
    void baseCampInstaller_data();
    void baseCampInstaller();
    void gpsData_data();
    void gpsData();
    void gpsDataFolderName_data();
    void gpsDataFolderName();

private:
    QUrl fileUrl(const QString &name) const;

    VendorServiceProcess m_service{{kMapSize, {}, {}, {}}};
    QString m_mapMd5;
    qint64 m_mapSize = 0; // the archive's, a little more than the maps it holds
};

void TestDownload::initTestCase()
{
    QVERIFY2(m_service.start(), qPrintable(m_service.errorString()));
    m_service.useAsServiceAddress();
    const std::unique_ptr<ProductInfo> product = m_service.product(QStringLiteral("HALV-PC-0001"));
    QVERIFY(product);
    m_mapMd5 = product->pcSubProduct.md5;
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

QUrl TestDownload::fileUrl(const QString &name) const
{
    return m_service.baseUrl().resolved(QUrl(QStringLiteral("/files/") + name));
}

// Each tick's time text as a letter: E an estimate, S "stalled", - none.
void TestDownload::estimate_data()
{
    QTest::addColumn<QList<qint64>>("received");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<QString>("texts");
    QTest::addColumn<QString>("lastTime");
    QTest::addColumn<QString>("lastDownloaded");

    // Seeded with the first second: 9000 left at 1000/s; then 1000 × 0.4 + 500 × 0.6 = 700/s.
    QTest::newRow("seeded, then smoothed") << QList<qint64>{1000, 1500} << qint64(10000) << "EE"
                                           << "estimated time: 12 sec"
                                           << "0.00 / 0.01 MB,";
    // Six quiet seconds are a pause; the seventh is a stall; new data ends it at once.
    QTest::newRow("stall and recovery")
        << QList<qint64>{1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000, 2000}
        << qint64(10000) << "EEEEEEESSE" << QString() << QString();
    QTest::newRow("nothing in the first second") << QList<qint64>{0} << qint64(10000) << "S"
                                                 << "estimated time: stalled" << QString();
    QTest::newRow("no total announced") << QList<qint64>{3 << 20} << qint64(-1) << "-"
                                        << ""
                                        << "3.00 MB";
    QTest::newRow("all received") << QList<qint64>{5 << 20} << qint64(5 << 20) << "E"
                                  << "estimated time: 0 sec"
                                  << "5.00 / 5.00 MB,";
}

void TestDownload::estimate()
{
    QFETCH(QList<qint64>, received);
    QFETCH(qint64, total);
    QFETCH(QString, texts);
    QFETCH(QString, lastTime);
    QFETCH(QString, lastDownloaded);

    DownloadEstimate estimate;
    estimate.restart();
    QString seen;
    DownloadEstimate::Tick tick;
    for (qint64 bytes : received) {
        tick = estimate.tick(bytes, total);
        seen += tick.timeLeft.isEmpty()              ? QLatin1Char('-')
                : tick.timeLeft.contains(u"stalled") ? QLatin1Char('S')
                                                     : QLatin1Char('E');
    }
    QCOMPARE(seen, texts);
    if (!lastTime.isNull()) {
        QCOMPARE(tick.timeLeft, lastTime);
    }
    if (!lastDownloaded.isNull()) {
        QCOMPARE(tick.downloaded, lastDownloaded);
    }
}

void TestDownload::checksum_data()
{
    QTest::addColumn<QByteArray>("content"); // null: no file at all
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("result");
    QTest::newRow("match") << QByteArray("abc") << "900150983cd24fb0d6963f7d28e17f72" << true;
    QTest::newRow("capitals and blanks")
        << QByteArray("abc") << " 900150983CD24FB0D6963F7D28E17F72\r\n"
        << true;
    QTest::newRow("another file") << QByteArray("abd") << "900150983cd24fb0d6963f7d28e17f72"
                                  << false;
    QTest::newRow("empty file") << QByteArray("") << "d41d8cd98f00b204e9800998ecf8427e" << true;
    QTest::newRow("nothing announced") << QByteArray("") << "" << false;
    QTest::newRow("file gone before the check")
        << QByteArray() << "d41d8cd98f00b204e9800998ecf8427e" << false;
}

void TestDownload::checksum()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    QFETCH(bool, result);
    const QString path = QDir::temp().filePath(QStringLiteral("checked.bin"));
    QFile::remove(path);
    if (!content.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    auto *worker = new CheckMd5Worker(this, path, expected);
    QSignalSpy results(worker, &CheckMd5Worker::resultReady);
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
    QTRY_COMPARE(results.size(), 1);
    QCOMPARE(results.at(0).at(0).toBool(), result);
}

void TestDownload::sizeQuery_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<qint64>("size"); // -1: the query fails
    QTest::addColumn<QString>("error");
    QTest::newRow("no such file") << "nothing-here.zip" << qint64(-1) << "Not Found";
    QTest::newRow("no Content-Length: counts as 0")
        << "halvorn-topo-norway-nolength.zip" << qint64(0) << "";
    QTest::newRow("no answer at all")
        << "halvorn-topo-norway-silent.zip" << qint64(-1) << "The server did not answer.";
}

void TestDownload::sizeQuery()
{
    QFETCH(QString, file);
    QFETCH(qint64, size);
    QFETCH(QString, error);
    FileDownload download;
    QSignalSpy known(&download, &FileDownload::sizeKnown);
    QSignalSpy failed(&download, &FileDownload::sizeQueryFailed);
    download.setUrl(fileUrl(file));
    download.askFileSize();
    QTRY_COMPARE(known.size() + failed.size(), 1);
    if (size >= 0) {
        QCOMPARE(known.at(0).at(0).toLongLong(), size);
    } else {
        QVERIFY2(failed.at(0).at(0).toString().contains(error),
                 qPrintable(failed.at(0).at(0).toString()));
    }
}

void TestDownload::attempt_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("completes");
    QTest::addColumn<bool>("stalledShown");
    QTest::newRow("whole file") << "halvorn-topo-norway.zip" << true << false;
    QTest::newRow("no Content-Length") << "halvorn-topo-norway-nolength.zip" << true << false;
    QTest::newRow("stalls: the watchdog ends it")
        << "halvorn-topo-norway-stall.zip" << false << true;
    QTest::newRow("connection dropped") << "halvorn-topo-norway-drop.zip" << false << false;
    QTest::newRow("HTTP error") << "halvorn-topo-norway-error.zip" << false << false;
    QTest::newRow("no answer at all") << "halvorn-topo-norway-silent.zip" << false << false;
}

void TestDownload::attempt()
{
    QFETCH(QString, file);
    QFETCH(bool, completes);
    QFETCH(bool, stalledShown);
    FileDownload download;
    QSignalSpy finished(&download, &FileDownload::finished);
    QSignalSpy failed(&download, &FileDownload::failed);
    QStringList times;
    connect(&download, &FileDownload::statusChanged, this,
            [&times](const QString &, const QString &time) { times.append(time); });
    download.setUrl(fileUrl(file));
    download.setTargetPath(QDir::temp().filePath(QStringLiteral("attempt.zip")));
    download.start();

    QTRY_COMPARE(finished.size() + failed.size(), 1);
    QCOMPARE(finished.size(), completes ? 1 : 0);
    QCOMPARE(times.join(QLatin1Char('|')).contains(DownloadEstimate::stalledText()), stalledShown);
    if (completes) {
        QCOMPARE(QFileInfo(download.targetPath()).size(), m_mapSize);
    }
    // An attempt ends once: nothing more comes from it.
    QTest::qWait(400);
    QCOMPARE(finished.size() + failed.size(), 1);
}

void TestDownload::newAttemptStartsFromAnEmptyFile()
{
    FileDownload download;
    QSignalSpy finished(&download, &FileDownload::finished);
    QSignalSpy failed(&download, &FileDownload::failed);
    download.setTargetPath(QDir::temp().filePath(QStringLiteral("retried.zip")));
    download.setUrl(fileUrl(QStringLiteral("halvorn-topo-norway-drop.zip")));
    download.start();
    QTRY_COMPARE(failed.size(), 1);
    QVERIFY(QFileInfo(download.targetPath()).size() > 0);

    download.setUrl(fileUrl(QStringLiteral("halvorn-topo-norway.zip")));
    download.start();
    QTRY_COMPARE(finished.size(), 1);
    QFile file(download.targetPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCryptographicHash md5(QCryptographicHash::Md5);
    md5.addData(&file);
    QCOMPARE(QString::fromLatin1(md5.result().toHex()), m_mapMd5);
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

void TestDownload::spaceRuleOfTheMapPage_data()
{
    QTest::addColumn<qint64>("beyondThreeTimes");
    QTest::addColumn<bool>("downloads");
    QTest::newRow("exactly three times the map") << qint64(0) << true;
    QTest::newRow("one byte less") << qint64(-1) << false;
}

void TestDownload::spaceRuleOfTheMapPage()
{
    QFETCH(qint64, beyondThreeTimes);
    QFETCH(bool, downloads);
    FakePlatform platform;
    platform.freeBytes = 3 * m_mapSize + beyondThreeTimes;
    auto *product = new ProductInfo;
    product->pcSubProduct.map = fileUrl(QStringLiteral("halvorn-topo-norway.zip"));
    Core::instance()->setProductInfo(product);
    PopupAnswerer answerer;
    answerer.answerUnexpectedWith(PopupAnswerer::Button::Right);
    const QString message =
        QStringLiteral("Not enough free space on main drive for download and installation.");
    const auto messages = [&answerer, &message] {
        return std::count_if(answerer.shown().cbegin(), answerer.shown().cend(),
                             [&message](const auto &shown) { return shown.text == message; });
    };

    std::unique_ptr<QWidget> page(createPage(PageId::DownloadMapPCPage));
    auto *timeLabel = page->findChild<QLabel *>(QStringLiteral("TimeLabel"));
    if (!downloads) {
        // Asked again each time the message is closed, until there is room.
        QTRY_VERIFY(messages() >= 2);
        QVERIFY(!timeLabel->isVisibleTo(page.get()));
        platform.freeBytes = 3 * m_mapSize;
    }
    QTRY_VERIFY(timeLabel->isVisibleTo(page.get()));
    const qsizetype shown = messages();
    QCOMPARE(shown > 0, !downloads);
    QVERIFY(platform.spaceQueries.contains(Core::garminMapsFolder()));
}

// A size query for no address would fail, and be asked again, for as long as the user answers.
void TestDownload::nothingToDownloadMovesOn()
{
    Core::instance()->setProductInfo(new ProductInfo);
    PopupAnswerer answerer;
    answerer.answerUnexpectedWith(PopupAnswerer::Button::Right);
    PageRecorder recorder;
    std::unique_ptr<QWidget> page(createPage(PageId::DownloadMapPCPage));
    QTRY_COMPARE(recorder.pages, QList<PageId>{PageId::MajorReleaseAvailablePage});
    QCOMPARE(answerer.shownCount(), 0);
}

using Button = PopupAnswerer::Button;

void TestDownload::baseCampInstaller_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("md5"); // %1: the service's checksum
    QTest::addColumn<QList<Button>>("answers");
    QTest::addColumn<QStringList>("popups");
    QTest::addColumn<PageId>("next");
    const QString corrupt = "The downloaded installer is corrupt.";
    QTest::newRow("an old installer in its place is replaced")
        << "install_basecamp.exe"
        << "%1" << QList<Button>() << QStringList() << PageId::InstallBaseCampPage;
    QTest::newRow("checksum in capitals, with blanks")
        << "install_basecamp.exe"
        << " %1\n"
        << QList<Button>() << QStringList() << PageId::InstallBaseCampPage;
    QTest::newRow("corrupt: twice again by itself, then the user gives up")
        << "install_basecamp.exe"
        << "0123456789abcdef0123456789abcdef" << QList{Button::Right, Button::Right, Button::Left}
        << QStringList{corrupt, corrupt, corrupt + " Would you like to try downloading again?"}
        << PageId::MajorReleaseAvailablePage;
    QTest::newRow("not a web address: nothing fetched")
        << "file:///bin/sh"
        << "%1" << QList{Button::Right}
        << QStringList{"The Garmin BaseCamp installer cannot be downloaded: no web address is "
                       "given for it."}
        << PageId::MajorReleaseAvailablePage;
}

void TestDownload::baseCampInstaller()
{
    QFETCH(QString, url);
    QFETCH(QString, md5);
    QFETCH(QList<Button>, answers);
    const QString served = m_service.product(QStringLiteral("HALV-PC-0001"))->basecampPcMd5;
    auto *product = new ProductInfo;
    product->basecampPcDownload = url.contains(u':') ? QUrl(url) : fileUrl(url);
    product->basecampPcMd5 = md5.contains(u'%') ? md5.arg(served.toUpper()) : md5;
    Core::instance()->setProductInfo(product);
    QFile installer(DownloadBaseCampPage::installerPath());
    QVERIFY(installer.open(QIODevice::WriteOnly) && installer.write("an older installer") > 0);
    installer.close();
    PopupAnswerer answerer;
    for (const Button answer : answers) {
        answerer.answer(answer);
    }
    PageRecorder recorder;

    std::unique_ptr<QWidget> page(createPage(PageId::DownloadBaseCampPage));
    QTRY_COMPARE_WITH_TIMEOUT(recorder.pages.size(), 1, 20000);
    QTEST(recorder.pages.first(), "next");
    QStringList shown;
    for (const PopupAnswerer::Shown &popup : answerer.shown()) {
        shown.append(popup.text);
    }
    QTEST(shown, "popups");
    if (recorder.pages.first() == PageId::InstallBaseCampPage) {
        QVERIFY(installer.open(QIODevice::ReadOnly));
        QCryptographicHash hash(QCryptographicHash::Md5);
        hash.addData(&installer);
        QCOMPARE(QString::fromLatin1(hash.result().toHex()), served);
    }
}

void TestDownload::gpsData_data()
{
    QTest::addColumn<QString>("file"); // empty: the product has no such data
    QTest::addColumn<QList<Button>>("answers");
    QTest::addColumn<QString>("prompt"); // after the offer
    QTest::addColumn<PageId>("next");
    QTest::newRow("no data: no offer") << "" << QList<Button>() << "" << PageId::ThankYouPage;
    QTest::newRow("skipped") << "halvorn-gps-data.zip" << QList{Button::Left} << ""
                             << PageId::ThankYouPage;
    QTest::newRow("download fails, given up")
        << "halvorn-gps-data-error.zip" << QList{Button::Right, Button::Left}
        << "The download of <b>Huts &lt;North&gt;</b> failed.<br/>Would you like to try again?"
        << PageId::ThankYouPage;
    QTest::newRow("corrupt archive, given up")
        << "halvorn-gps-data-corrupt.zip" << QList{Button::Right, Button::Left}
        << "The downloaded data is corrupt. Would you like to try downloading again?"
        << PageId::ThankYouPage;
}

void TestDownload::gpsData()
{
    QFETCH(QString, file);
    QFETCH(QList<Button>, answers);
    QFETCH(QString, prompt);
    auto *product = new ProductInfo;
    product->additionalGpsDataName = QStringLiteral("Huts <North>");
    product->additionalGpsDataUrl = file.isEmpty() ? QUrl() : fileUrl(file);
    Core::instance()->setProductInfo(product);
    PopupAnswerer answerer;
    for (const Button answer : answers) {
        answerer.answer(answer);
    }
    PageRecorder recorder;

    std::unique_ptr<QWidget> page(createPage(PageId::DownloadGPSDataPage));
    QTRY_COMPARE(recorder.pages.size(), 1);
    QTEST(recorder.pages.first(), "next");
    QCOMPARE(answerer.shownCount(), int(answers.size()));
    const QString offer = QStringLiteral("Your map comes with <b>Huts &lt;North&gt;</b>. Would "
                                         "you like to download them to your PC?");
    if (!answers.isEmpty()) {
        QCOMPARE(answerer.shown().first().text, offer);
        QCOMPARE(answerer.shown().last().text, prompt.isEmpty() ? offer : prompt);
    }
}

void TestDownload::gpsDataFolderName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("folder");
    QTest::newRow("separators, parents") << "../..\\Huts/<2024>"
                                         << ".. .. Huts 2024";
    QTest::newRow("parent alone") << ".."
                                  << "additional_gps_data";
    QTest::newRow("control characters, trailing dot") << "Huts\t\nNord\x01 ."
                                                      << "Huts Nord";
    QTest::newRow("a Windows device name") << "nul.gpx"
                                           << "_nul.gpx";
}

void TestDownload::gpsDataFolderName()
{
    QFETCH(QString, name);
    QTEST(DownloadGPSDataPage::folderName(name), "folder");
}

HALVORNSYNC_TEST_MAIN(TestDownload)
#include "tst_download.moc"
