#include "FakePlatform.h"
#include "FaultyDestinations.h"
#include "PageRecorder.h"
#include "PopupAnswerer.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "VendorServiceProcess.h"
#include "app/Core.h"
#include "app/PageFactory.h"
#include "download/FileDownload.h"
#include "maps/CardImage.h"
#include "pages/card/DownloadMapSDPage.h"
#include "service/ProductInfo.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
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

QString cardRoot(const QString &name)
{
    return QDir::homePath() + QStringLiteral("/cards/") + name;
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
    void ejection_data();
    void ejection();

private:
    QComboBox *drives() const { return m_page->findChild<QComboBox *>("DrivesComboBox"); }
    QPushButton *continueButton() const
    {
        return m_page->findChild<QPushButton *>("ContinueButton");
    }

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
}

void TestCardPages::drivesOffered_data()
{
    QTest::addColumn<QString>("image"); // the four characters at the family's place; "-": none
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("ready");
    QTest::addColumn<bool>("fixed");
    QTest::addColumn<QString>("label"); // empty: not offered; %1 stands for the root path

    const auto row = [](const char *name, const char *image, const char *label,
                        const char *volumeName = "", bool ready = true, bool fixed = false) {
        QTest::newRow(name) << image << volumeName << ready << fixed << label;
    };
    row("the product's card, named", "1236", "%1 (HALVORN)", "HALVORN");
    row("blank card", "-", "%1");
    row("another product's card", "1237", "");
    row("no number there", "12G6", "");
    row("reader without its card", "1236", "", "", false);
    row("internal disk", "-", "", "", true, true);
}

void TestCardPages::drivesOffered()
{
    QFETCH(QString, image);
    QFETCH(QString, name);
    QFETCH(bool, ready);
    QFETCH(bool, fixed);
    QFETCH(QString, label);
    const QString root = cardRoot(QStringLiteral("e"));
    m_platform->insertCard(root, {}, name).ready = ready;
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
        QTest::qWait(3 * 500); // several scans, none of which may offer it
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
    const QString first = cardRoot(QStringLiteral("e"));
    const QString second = cardRoot(QStringLiteral("f"));
    m_platform->insertCard(first);
    m_page.reset(createPage(PageId::InsertSDPage));
    QTRY_COMPARE(drives()->count(), 1);

    // A card put in ahead of the chosen one in the system's order.
    m_platform->volumes.prepend(m_platform->volumes.first());
    m_platform->volumes.first().rootPath = second;
    QDir().mkpath(second);
    QTRY_COMPARE(drives()->count(), 2);
    QCOMPARE(drives()->currentText(), first);

    m_platform->volumes.clear();
    QTRY_COMPARE(drives()->count(), 0);
    QCOMPARE(drives()->currentIndex(), -1);
    QVERIFY(!continueButton()->isEnabled());
}

void TestCardPages::readOnlyCardIsRefused()
{
    const QString root = cardRoot(QStringLiteral("e"));
    m_platform->insertCard(root).readOnly = true;
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
    QCOMPARE(Core::instance()->cardDrive(), root);
    QCOMPARE(recorder.pages, QList<PageId>{PageId::SDUpdatesAvailablePage});
}

void TestCardPages::transfer_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("room");    // on the card: "plenty", "exact" (the map's size less
                                          // the old map's), "short" (a byte less than that)
    QTest::addColumn<QString>("answers"); // to the questions, in order: R = YES, L = NO
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
    const QString root = cardRoot(QStringLiteral("e"));
    Platform::Volume &volume = m_platform->insertCard(root, 4662);
    const QByteArray oldMd5 = md5Of(CardImage::path(root));
    const qint64 roomForNew = 64 * 1024 - QFileInfo(CardImage::path(root)).size();
    volume.bytesAvailable = room == QLatin1String("plenty")  ? qint64(1) << 40
                            : room == QLatin1String("exact") ? roomForNew
                                                             : roomForNew - 1;
    volume.fileSystemType = fault == QLatin1String("huge") ? "FAT32" : "exfat";
    m_platform->mediumDiffers = fault == QLatin1String("medium");
    FaultyDestinations destinations;
    destinations.state->failingFiles = fault == QLatin1String("write") ? 1 : 0;
    Core::instance()->setCardDrive(root);
    PageRecorder recorder;
    PopupAnswerer answerer;
    for (const QChar answer : answers) {
        answerer.answer(answer == QLatin1Char('R') ? Button::Right : Button::Left);
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
    QCOMPARE(md5Of(CardImage::path(root)), written ? expectedMd5.toLatin1() : oldMd5);
    QVERIFY(!QFileInfo::exists(DownloadMapSDPage::partialImagePath(root)));
    // What was checked is what the card holds, where the copy went.
    if (written) {
        QCOMPARE(m_platform->mediumReads.last(), room == QLatin1String("plenty")
                                                     ? DownloadMapSDPage::partialImagePath(root)
                                                     : CardImage::path(root));
    }
    QCOMPARE(m_service.requests(QStringLiteral("transfer_sd")).size(), written ? 1 : 0);
    QCOMPARE(Core::instance()->cardUpdated(), written);
}

void TestCardPages::ejection_data()
{
    QTest::addColumn<int>("cardIndex");
    QTest::addColumn<bool>("updated");
    QTest::addColumn<QString>("how");
    QTest::addColumn<PageId>("next");

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
    const QString root = cardRoot(QStringLiteral("e"));
    m_platform->insertCard(root);
    Core::instance()->setCardDrive(root);
    Core::instance()->setCardIndex(cardIndex);
    Core::instance()->setCardUpdated(updated);
    PageRecorder recorder;

    m_page.reset(createPage(PageId::EjectSDPage));
    QTest::qWait(3 * 500); // still in: the page waits
    QVERIFY(recorder.pages.isEmpty());
    if (how == QLatin1String("removed")) {
        m_platform->volumes.clear();
    } else if (how == QLatin1String("not ready")) {
        m_platform->volumes.first().ready = false;
    } else {
        m_platform->volumes.first().rootPath = root + QLatin1Char('2');
    }
    QTRY_COMPARE(recorder.pages, QList<PageId>{next});
    QCOMPARE(Core::instance()->cardIndex(), cardIndex + 1);
}

HALVORNSYNC_TEST_MAIN(TestCardPages)
#include "tst_cardpages.moc"
