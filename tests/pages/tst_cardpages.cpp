#include "FakePlatform.h"
#include "PageRecorder.h"
#include "PopupAnswerer.h"
#include "SampleMapFiles.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "VendorServiceProcess.h"
#include "app/Core.h"
#include "app/PageFactory.h"
#include "download/DownloadCache.h"
#include "download/FileDownload.h"
#include "maps/CardImage.h"
#include "pages/card/CardSafetyCopy.h"
#include "pages/card/DownloadMapSDPage.h"
#include "pages/card/EjectSDPage.h"
#include "pages/card/InsertSDPage.h"
#include "service/ProductInfo.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPushButton>

namespace {
using Button = PopupAnswerer::Button;

QByteArray md5Of(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Md5);
    return file.open(QIODevice::ReadOnly) && hash.addData(&file) ? hash.result().toHex()
                                                                 : QByteArray();
}

QStringList filesIn(const QString &folder, const QStringList &patterns = {})
{
    return QDir(folder).entryList(patterns, QDir::Files | QDir::Hidden);
}

PopupAnswerer::Button buttonFor(QChar answer)
{
    return answer == QLatin1Char('R')   ? Button::Right
           : answer == QLatin1Char('E') ? Button::Escape
                                        : Button::Left;
}
} // namespace

// The card pages against fake drives and the stand-in vendor service: which drives are offered,
// what reaches the card and what is left of the old map when something fails, and ejection.
class TestCardPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void drivesOffered_data();
    void drivesOffered();
    void rescansKeepTheChoice();
    void readOnlyCardIsRefused();
    void transfer_data();
    void transfer();
    void pulledCardGetsItsMapBackWhenItReturns_data();
    void pulledCardGetsItsMapBackWhenItReturns();
    void partialDownloadWaitsForTheNextPage();
    void ejection_data();
    void ejection();

private:
    QComboBox *drives() const { return m_page->findChild<QComboBox *>("DrivesComboBox"); }
    QPushButton *continueButton() const
    {
        return m_page->findChild<QPushButton *>("ContinueButton");
    }

    // Where the card is, in the one reader.
    const QString m_root = QDir::homePath() + QStringLiteral("/cards/e");
    VendorServiceProcess m_service;
    std::unique_ptr<ProductInfo> m_product; // HALV-SD-0002: two cards, families 4662 and 4663
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<QWidget> m_page;
};

void TestCardPages::initTestCase()
{
    FileDownload::setTiming({20, 300, 300});
    QVERIFY2(m_service.start(), qPrintable(m_service.errorString()));
    m_service.useAsServiceAddress();
    m_product = m_service.product(QStringLiteral("HALV-SD-0002"));
    QVERIFY(m_product && m_product->sdSubProducts.size() == 2);
}

void TestCardPages::init()
{
    m_platform = std::make_unique<FakePlatform>();
    m_platform->freeBytes = qint64(1) << 40;
    Core::instance()->setProductInfo(new ProductInfo(*m_product));
    Core::instance()->setCardIndex(0);
    Core::instance()->setCardUpdated(false);
    m_service.clearRequests();
}

void TestCardPages::cleanup()
{
    m_page.reset();
    m_platform.reset();
    QDir(QDir::homePath() + QStringLiteral("/cards")).removeRecursively();
    QDir(CardSafetyCopy::folder()).removeRecursively();
}

void TestCardPages::drivesOffered_data()
{
    QTest::addColumn<QString>("image"); // the four characters at the family's place; "-": none
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("ready");
    QTest::addColumn<bool>("fixed");
    QTest::addColumn<QString>("root");  // empty: a card reader's
    QTest::addColumn<QString>("label"); // empty: not offered; %1 stands for the root path

    const auto row = [](const char *name, const char *image, const char *label,
                        const char *volumeName = "", bool ready = true, bool fixed = false,
                        const QString &root = {}) {
        QTest::newRow(name) << image << volumeName << ready << fixed << root << label;
    };
    row("the product's card, named", "1236", "%1 (HALVORN)", "HALVORN");
    row("blank card", "-", "%1");
    row("another product's card", "1237", "");
    row("no number there", "12G6", "");
    row("reader without its card", "1236", "", "", false);
    row("internal disk", "-", "", "", true, true);
    // Removable, and blank as a card can be: the system's and the user's own all the same.
    const auto own = [&row](const char *name, const QString &root) {
        row(name, "-", "", "", true, false, root);
    };
    own("the system's root", QDir::rootPath());
    own("the home", QDir::homePath());
    own("the temporary folder's", QDir::tempPath());
    own("the program's cache's", QFileInfo(DownloadCache::programFolder()).path());
    own("the Garmin maps folder's", QFileInfo(Core::garminMapsFolder()).path());
}

void TestCardPages::drivesOffered()
{
    QFETCH(QString, image);
    QFETCH(QString, name);
    QFETCH(bool, ready);
    QFETCH(bool, fixed);
    QFETCH(QString, root);
    QFETCH(QString, label);
    if (root == QDir::rootPath()) {
        // Only listed: nothing is made there.
        m_platform->volumes.append({root, {}, true, true, false, qint64(64) << 30, "ext4"});
    } else {
        if (root.isEmpty()) {
            root = m_root;
        }
        m_platform->insertCard(root, {}, name).ready = ready;
    }
    if (fixed) {
        m_platform->fixedDrives.append(root);
    }
    if (image != QLatin1String("-")) {
        QByteArray bytes(8192, '\0');
        bytes.replace(CardImage::familyOffset, 4, image.toLatin1());
        QVERIFY(TestFiles::write(CardImage::path(root), bytes));
    }

    m_page.reset(createPage(PageId::InsertSDPage));
    QVERIFY(drives()->count() == 0 && !continueButton()->isEnabled());
    if (label.isEmpty()) {
        QTest::qWait(3 * InsertSDPage::pollIntervalMs); // several scans, none of which may offer it
        QCOMPARE(drives()->count(), 0);
        QVERIFY(!continueButton()->isEnabled());
    } else {
        QTRY_COMPARE(drives()->count(), 1);
        QCOMPARE(drives()->itemText(0), label.arg(root));
        QVERIFY(continueButton()->isEnabled());
    }
}

void TestCardPages::rescansKeepTheChoice()
{
    const QString second = m_root + QLatin1Char('2');
    m_platform->insertCard(m_root);
    m_page.reset(createPage(PageId::InsertSDPage));
    QTRY_COMPARE(drives()->count(), 1);

    // A card put in ahead of the chosen one in the system's order.
    m_platform->volumes.prepend(m_platform->volumes.first());
    m_platform->volumes.first().rootPath = second;
    QDir().mkpath(second);
    QTRY_COMPARE(drives()->count(), 2);
    QCOMPARE(drives()->currentText(), m_root);

    m_platform->volumes.clear();
    QTRY_COMPARE(drives()->count(), 0);
    QCOMPARE(drives()->currentIndex(), -1);
    QVERIFY(!continueButton()->isEnabled());
}

void TestCardPages::readOnlyCardIsRefused()
{
    m_platform->insertCard(m_root).readOnly = true;
    Core::instance()->setCardDrive({});
    PageRecorder recorder;
    PopupAnswerer answerer;
    answerer.answer(Button::Right);
    m_page.reset(createPage(PageId::InsertSDPage));
    QTRY_VERIFY(continueButton()->isEnabled());

    QTest::mouseClick(continueButton(), Qt::LeftButton);
    QTRY_COMPARE(answerer.shownCount(), 1);
    QCOMPARE(answerer.shown().at(0).text, QStringLiteral("Please disable read-only mode."));
    QCOMPARE(answerer.shown().at(0).leftButton, QString());
    QVERIFY(Core::instance()->cardDrive().isEmpty());
    QVERIFY(recorder.pages.isEmpty());

    m_platform->volumes.first().readOnly = false;
    QTest::mouseClick(continueButton(), Qt::LeftButton);
    QCOMPARE(Core::instance()->cardDrive(), m_root);
    QCOMPARE(recorder.pages, QList<PageId>{PageId::SDUpdatesAvailablePage});
}

void TestCardPages::transfer_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("room");    // on the card: "plenty", "exact" (the map's size less
                                          // the old map's), "short" (a byte less than that)
    QTest::addColumn<QString>("answers"); // to the questions, in order: R = YES, L = NO,
                                          // E = the Escape key
    QTest::addColumn<QString>("question");
    QTest::addColumn<bool>("written"); // else the old map is still there
    QTest::addColumn<int>("downloads");
    QTest::addColumn<PageId>("next");

    const QString failed =
        QStringLiteral("The transfer to preprogrammed card failed. Would you like to try again?");
    const auto row = [](const char *name, const char *fault, const char *room, const char *answers,
                        const QString &question, bool written, int downloads,
                        PageId next = PageId::EjectSDPage) {
        QTest::newRow(name) << fault << room << answers << question << written << downloads << next;
    };
    row("beside the old map, then swapped in", "", "plenty", "", "", true, 1);
    row("no room for both: over the old map, whose room counts", "", "exact", "", "", true, 1);
    row("one byte short", "", "short", "R", "Not enough free space on selected drive.", false, 0,
        PageId::InsertSDPage);
    row("5 GiB map, FAT32 card", "huge", "plenty", "R",
        "The map (5120 MB) is too large for this card: its file system, FAT32, holds no file of "
        "4 GB or more. Please use a card formatted with exFAT.",
        false, 0, PageId::InsertSDPage);
    row("write error, NO", "write", "plenty", "L", failed + "<br/>(E-12)", false, 1);
    row("write error, YES copies again only", "write", "plenty", "R", failed + "<br/>(E-12)", true,
        1);
    row("the card gives back other data, NO", "medium", "plenty", "L",
        failed + "<br/>The map on the card differs from the downloaded map.", false, 1);
    // The old map is overwritten in place once a copy of it is on the computer.
    const QString putBack = QStringLiteral("<br/>The card's previous map has been put back.");
    row("no room for both, write error, NO", "write", "exact", "L",
        failed + "<br/>(E-12)" + putBack, false, 1);
    row("no room for both, write error, YES", "write", "exact", "R",
        failed + "<br/>(E-12)" + putBack, true, 1);
    const QString noCopy = QStringLiteral(
        "There is not enough free space on your PC to keep a copy of the map now on the card "
        "while the new one is written: the card's current map cannot be kept if the copy fails. "
        "Continue?");
    row("no room for both nor for a copy, Escape", "computer full", "exact", "E", noCopy, false, 1);
    row("no room for both nor for a copy, YES", "computer full", "exact", "R", noCopy, true, 1);
    row("corrupt download, YES then NO", "checksum", "plenty", "RL",
        "The downloaded map is corrupt. Would you like to try downloading again?", false, 2);
    row("nothing to download", "no-address", "plenty", "", "", false, 0);
}

void TestCardPages::transfer()
{
    QFETCH(QString, fault);
    QFETCH(QString, room);
    QFETCH(QString, answers);
    QFETCH(QString, question);
    QFETCH(bool, written);
    QFETCH(int, downloads);
    SdSubProduct &card = Core::instance()->productInfo()->sdSubProducts[0];
    const QString expectedMd5 = card.md5;
    if (fault == QLatin1String("checksum")) {
        card.md5 = QStringLiteral("0123456789abcdef0123456789abcdef");
    } else if (fault == QLatin1String("no-address")) {
        card.map.clear();
    } else if (fault == QLatin1String("huge")) {
        card.map.setPath(QStringLiteral("/files/halvorn-topo-card-1-huge.img"));
    }
    const QUrl address = card.map;
    Platform::Volume &volume = m_platform->insertCard(m_root, 4662);
    const QByteArray oldMd5 = md5Of(CardImage::path(m_root));
    const qint64 roomForNew = 64 * 1024 - QFileInfo(CardImage::path(m_root)).size();
    volume.bytesAvailable = room == QLatin1String("plenty")  ? qint64(1) << 40
                            : room == QLatin1String("exact") ? roomForNew
                                                             : roomForNew - 1;
    volume.fileSystemType = fault == QLatin1String("huge") ? "FAT32" : "exfat";
    m_platform->mediumDiffers = fault == QLatin1String("medium");
    if (fault == QLatin1String("computer full")) {
        m_platform->freeBytesAt.insert(CardSafetyCopy::folder(), 0);
    }
    m_platform->failCardFiles(fault == QLatin1String("write") ? 1 : 0);
    Core::instance()->setCardDrive(m_root);
    PageRecorder recorder;
    QStringList syncedWhenLeft;
    recorder.onPage = [&] {
        syncedWhenLeft = m_platform->syncedFolders();
    };
    PopupAnswerer answerer;
    for (const QChar answer : answers) {
        answerer.answer(buttonFor(answer));
    }
    answerer.answerUnexpectedWith(Button::Left);
    int gets = 0;
    connect(Core::instance()->networkManager(), &QNetworkAccessManager::finished, this,
            [&](QNetworkReply *reply) {
                gets += reply->operation() == QNetworkAccessManager::GetOperation &&
                        reply->url() == address;
            });

    m_page.reset(createPage(PageId::DownloadMapSDPage));
    QFETCH(PageId, next);
    QTRY_COMPARE_WITH_TIMEOUT(recorder.pages, QList<PageId>{next}, 15000);
    disconnect(Core::instance()->networkManager(), nullptr, this, nullptr);

    QCOMPARE(answerer.unexpectedCount(), 0);
    for (const PopupAnswerer::Shown &shown : answerer.shown()) {
        QCOMPARE(shown.text, question);
    }
    QCOMPARE(answerer.shownCount(), int(answers.size()));
    QCOMPARE(gets, downloads);
    QCOMPARE(md5Of(CardImage::path(m_root)), written ? expectedMd5.toLatin1() : oldMd5);
    QVERIFY(!QFileInfo::exists(CardImage::partialPath(m_root)));
    // What was checked is what the card holds, where the copy went; and the card's folder was
    // written out before the wizard moved on.
    if (written) {
        QCOMPARE(m_platform->mediumReads.last(), room == QLatin1String("plenty")
                                                     ? CardImage::partialPath(m_root)
                                                     : CardImage::path(m_root));
        QVERIFY(syncedWhenLeft.contains(QFileInfo(CardImage::path(m_root)).path()));
    }
    // Nothing is left behind on the computer once the page has gone: neither the download nor a
    // safety copy.
    m_page.reset();
    QCOMPARE(filesIn(DownloadCache::folder()), QStringList());
    QCOMPARE(filesIn(QDir::tempPath(), {QStringLiteral("*.img")}), QStringList());
    QCOMPARE(filesIn(CardSafetyCopy::folder()), QStringList());
    QCOMPARE(m_service.requests(QStringLiteral("transfer_sd")).size(), written ? 1 : 0);
    QCOMPARE(Core::instance()->cardUpdated(), written);
}

// A download broken off and given up (NO) stays in the program's cache with its record; the next
// card page continues it from where it stopped and writes the map.
void TestCardPages::partialDownloadWaitsForTheNextPage()
{
    m_platform->insertCard(m_root, 4662);
    Core::instance()->setCardDrive(m_root);
    SdSubProduct &card = Core::instance()->productInfo()->sdSubProducts[0];
    const QString expectedMd5 = card.md5;
    card.map.setPath(QStringLiteral("/files/halvorn-topo-card-1-drop-once.img"));
    QStringList ranges;
    connect(Core::instance()->networkManager(), &QNetworkAccessManager::finished, this,
            [&](QNetworkReply *reply) {
                if (reply->operation() == QNetworkAccessManager::GetOperation &&
                    reply->url().path().startsWith(u"/files/")) {
                    ranges += QString::fromLatin1(reply->request().rawHeader("Range"));
                }
            });
    const QStringList keptFiles = {QStringLiteral("card-*.img"), QStringLiteral("card-*.resume")};
    for (const Button answer : {Button::Left, Button::Right}) {
        PageRecorder recorder;
        PopupAnswerer answerer;
        answerer.answerUnexpectedWith(answer);
        m_page.reset(createPage(PageId::DownloadMapSDPage));
        QTRY_COMPARE_WITH_TIMEOUT(recorder.pages, QList<PageId>{PageId::EjectSDPage}, 15000);
        m_page.reset();
        QCOMPARE(answerer.shownCount(), answer == Button::Left ? 1 : 0);
        QCOMPARE(filesIn(DownloadCache::folder(), keptFiles).size(),
                 answer == Button::Left ? 2 : 0);
    }
    disconnect(Core::instance()->networkManager(), nullptr, this, nullptr);
    QCOMPARE(ranges.size(), 2);
    QVERIFY2(ranges.at(0).isEmpty() && ranges.at(1).startsWith(u"bytes="),
             qPrintable(ranges.join('|')));
    QCOMPARE(md5Of(CardImage::path(m_root)), expectedMd5.toLatin1());
}

void TestCardPages::pulledCardGetsItsMapBackWhenItReturns_data()
{
    QTest::addColumn<bool>("sameCard"); // else another card comes in under the same root
    QTest::addColumn<int>("family");    // of the map the card holds then; 0: none
    QTest::addColumn<bool>("putBack");

    QTest::newRow("the same card, the new map cut short") << true << 4662 << true;
    QTest::newRow("the same card, no map") << true << 0 << true;
    QTest::newRow("another card") << false << 4662 << false;
    QTest::newRow("the same card with another product's map") << true << 4663 << false;
}

// The card leaves its reader while its only map is being overwritten: the old map, kept on the
// computer, goes back onto that card when it returns, and onto no other.
void TestCardPages::pulledCardGetsItsMapBackWhenItReturns()
{
    QFETCH(bool, sameCard);
    QFETCH(int, family);
    QFETCH(bool, putBack);
    const QString image = CardImage::path(m_root);
    // Room for the new map (64 KiB) once the old one is gone, not beside it.
    m_platform->insertCard(m_root, 4662).bytesAvailable = 64 * 1024 - QFileInfo(image).size();
    const QByteArray oldMd5 = md5Of(image);
    Core::instance()->setCardDrive(m_root);
    PageRecorder recorder;
    PopupAnswerer answerer;
    answerer.answerUnexpectedWith(Button::Right);
    m_platform->failCardFiles(1);
    FaultyDestinations::State &writes = m_platform->destinations();
    writes.holdFirstWrite = true;
    m_page.reset(createPage(PageId::DownloadMapSDPage));
    QTRY_COMPARE_WITH_TIMEOUT(writes.heldWrites.load(), 1, 15000);
    m_platform->removeCard(m_root);
    writes.released.release();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.pages, QList<PageId>{PageId::EjectSDPage}, 15000);
    const QStringList kept = filesIn(CardSafetyCopy::folder(), {QStringLiteral("*.img")});
    QCOMPARE(kept.size(), 1);
    QCOMPARE(answerer.shownCount(), 1);
    QVERIFY2(answerer.shown().at(0).text.contains(
                 QDir::toNativeSeparators(CardSafetyCopy::folder() + '/' + kept.at(0))),
             qPrintable(answerer.shown().at(0).text));
    QCOMPARE(m_service.requests(QStringLiteral("transfer_sd")).size(), 0);

    if (family != 0) {
        QVERIFY(TestFiles::write(image, SampleMapFiles::cardImage(family, 5000)));
    }
    const QByteArray returnedMd5 = md5Of(image);
    if (!sameCard) {
        m_platform->volumeIds.insert(m_root, QStringLiteral("another-card"));
    }
    m_platform->insertCard(m_root);
    m_page.reset(createPage(PageId::InsertSDPage));
    const auto *status = m_page->findChild<QLabel *>(QStringLiteral("StatusLabel"));
    if (putBack) {
        QTRY_COMPARE(status->text(), QStringLiteral("The card's previous map has been put back."));
        QCOMPARE(md5Of(image), oldMd5);
        QCOMPARE(filesIn(CardSafetyCopy::folder()), QStringList());
    } else {
        QTest::qWait(3 * InsertSDPage::pollIntervalMs); // several scans, none may touch the card
        QCOMPARE(md5Of(image), returnedMd5);
        QCOMPARE(filesIn(CardSafetyCopy::folder(), {QStringLiteral("*.img")}), kept);
        QVERIFY(status->isHidden());
    }
    QCOMPARE(answerer.shownCount(), 1);
    QVERIFY(!QFileInfo::exists(CardImage::partialPath(m_root)));
}

void TestCardPages::ejection_data()
{
    QTest::addColumn<int>("cardIndex");
    QTest::addColumn<bool>("updated");
    QTest::addColumn<QString>("how");
    QTest::addColumn<PageId>("next");

    QTest::newRow("first of two cards, taken out")
        << 0 << false << "removed" << PageId::InsertSDPage;
    QTest::newRow("last card, reader empty, one written")
        << 1 << true << "not ready" << PageId::InformNewSDVersionPage;
    QTest::newRow("last card, back under another root, none written")
        << 1 << false << "renamed" << PageId::ViewMapOnPCPage;
}

void TestCardPages::ejection()
{
    QFETCH(int, cardIndex);
    QFETCH(bool, updated);
    QFETCH(QString, how);
    QFETCH(PageId, next);
    m_platform->insertCard(m_root);
    Core::instance()->setCardDrive(m_root);
    Core::instance()->setCardIndex(cardIndex);
    Core::instance()->setCardUpdated(updated);
    PageRecorder recorder;

    m_page.reset(createPage(PageId::EjectSDPage));
    QTest::qWait(3 * EjectSDPage::pollIntervalMs); // still in: the page waits
    QVERIFY(recorder.pages.isEmpty());
    if (how == QLatin1String("removed")) {
        m_platform->volumes.clear();
    } else if (how == QLatin1String("not ready")) {
        m_platform->volumes.first().ready = false;
    } else {
        m_platform->volumes.first().rootPath = m_root + QLatin1Char('2');
    }
    QTRY_COMPARE(recorder.pages, QList<PageId>{next});
    QCOMPARE(Core::instance()->cardIndex(), cardIndex + 1);
}

HALVORNSYNC_TEST_MAIN(TestCardPages)
#include "tst_cardpages.moc"
