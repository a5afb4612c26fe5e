#include "FakePlatform.h"
#include "PopupAnswerer.h"
#include "RouteWalker.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "VendorServiceProcess.h"
#include "app/Core.h"
#include "app/CurrentProduct.h"
#include "app/MainWindow.h"
#include "app/OverlayWidget.h"
#include "app/PopupDialog.h"
#include "app/SerialDialog.h"
#include "service/ProductInfo.h"

#include <QAccessible>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>

namespace {
using Button = PopupAnswerer::Button;
using Steps = QList<RouteStep>;

// The family of the product's computer map, as its installed copy's Info.xml names it.
const qint32 kFamily = 4660;

// Installs a copy of the product's map whose Info.xml names `name`, which holds its version.
bool installMap(const QString &name)
{
    return TestSandbox::addInstalledMap(QStringLiteral("HalvornTopo"), kFamily, name);
}

// The stand-in service's computer map, cards, BaseCamp installer and GPS data, which the routes
// fetch.
PcSubProduct s_computerMap;
QList<SdSubProduct> s_cards;
QUrl s_installer;
QString s_installerMd5;
QUrl s_gpsData;

// The same file of the service, served with an HTTP error.
QUrl failing(QUrl url)
{
    url.setPath(url.path().replace(QRegularExpression(QStringLiteral("\\.[a-z]+$")),
                                   QStringLiteral("-error.zip")));
    return url;
}

enum class Product
{
    Computer,
    ComputerMapUnavailable,
    ComputerWithMajorRelease,
    TwoCardsNewer,
    TwoCardsUpToDate,
};

ProductInfo *makeProduct(Product kind)
{
    auto *info = new ProductInfo;
    info->productName = QStringLiteral("Halvorn Topo");
    info->latestVersion = QVersionNumber(24, 2, 0);
    info->pcSubProduct.fids = {kFamily};
    info->isPcFormat = kind == Product::Computer || kind == Product::ComputerMapUnavailable ||
                       kind == Product::ComputerWithMajorRelease;
    info->majorProductReleaseAvailable = kind == Product::ComputerWithMajorRelease;
    info->basecampPcDownload = s_installer;
    info->basecampPcMd5 = s_installerMd5;
    if (info->isPcFormat) {
        info->pcSubProduct.map = s_computerMap.map;
        info->pcSubProduct.md5 = s_computerMap.md5;
        info->additionalGpsDataName = QStringLiteral("Halvorn Trails");
        info->additionalGpsDataUrl = s_gpsData;
        if (kind == Product::ComputerMapUnavailable) {
            info->pcSubProduct.map = failing(info->pcSubProduct.map);
            info->additionalGpsDataUrl = failing(s_gpsData);
        } else if (kind == Product::ComputerWithMajorRelease) {
            info->basecampPcDownload = failing(s_computerMap.map);
        }
    } else {
        // Cards already up to date have nothing to download when they are reinstalled.
        info->sdSubProducts = kind == Product::TwoCardsNewer
                                  ? s_cards
                                  : QList<SdSubProduct>{{QStringLiteral("North"), {}, {}, 1},
                                                        {QStringLiteral("South"), {}, {}, 2}};
        info->latestNewerThanSd = kind == Product::TwoCardsNewer;
    }
    return info;
}
} // namespace

Q_DECLARE_METATYPE(Product)
Q_DECLARE_METATYPE(RouteStep)

// Walks the wizard's routes by clicking, as a user would, and checks the exact page sequence.
class TestPageGraph : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void routes_data();
    void routes();
    void answerToAReplacedPageMovesNothing_data();
    void answerToAReplacedPageMovesNothing();
    // The main window itself.
    void pageSwitchDeletesTheOldPageBeforeReturning();
    void nestedPopupsKeepTheOverlayUntilTheLastCloses();
    void overlayCoversTheWindowWhenResized();
    void namesForScreenReaders();

private:
    QStackedWidget *stack() const
    {
        return m_window->findChild<QStackedWidget *>("ContainerWidget");
    }
    QString currentPage() const;
    QWidget *overlay() const
    {
        return m_window->findChild<OverlayWidget *>(QString(), Qt::FindDirectChildrenOnly);
    }
    // Checks that the wizard shows exactly the steps' pages and no other pop-up than answered.
    void walk(const QList<RouteStep> &steps);

    // The card version page reports to it before it lets the user go on.
    VendorServiceProcess m_service;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<PopupAnswerer> m_answerer;
    QStringList m_visited;
};

void TestPageGraph::initTestCase()
{
    QVERIFY2(m_service.start(), qPrintable(m_service.errorString()));
    m_service.useAsServiceAddress();
    const std::unique_ptr<ProductInfo> computer = m_service.product(QStringLiteral("HALV-PC-0001"));
    QVERIFY(computer);
    s_computerMap = computer->pcSubProduct;
    const std::unique_ptr<ProductInfo> cards = m_service.product(QStringLiteral("HALV-SD-0002"));
    QVERIFY(cards);
    s_cards = cards->sdSubProducts;
    s_installer = computer->basecampPcDownload;
    s_installerMd5 = computer->basecampPcMd5;
    const std::unique_ptr<ProductInfo> gps = m_service.product(QStringLiteral("HALV-GPS-0004"));
    QVERIFY(gps);
    s_gpsData = gps->additionalGpsDataUrl;
}

void TestPageGraph::init()
{
    m_platform = std::make_unique<FakePlatform>();
    Core *core = Core::instance();
    // "Update Another Product" keeps the run's state: a stale index and a card written for an
    // earlier product must not survive the start of the card route.
    core->setCardIndex(7);
    core->setCardUpdated(true);
    m_visited.clear();
    m_window = std::make_unique<MainWindow>();
    connect(core, &Core::currentPageChanged, this, [this](QWidget *page) {
        const QString name = page ? page->objectName() : QString();
        m_visited.append(name);
        // The user puts in each card when asked for it (carrying the card's own map, so the
        // version pages offer both their buttons) and takes it out when asked to.
        if (name == QLatin1String("InsertSDPage")) {
            m_platform->insertCard(QDir::homePath() +
                                       QStringLiteral("/card%1").arg(m_visited.size()),
                                   currentCard().fid);
        } else if (name == QLatin1String("EjectSDPage")) {
            m_platform->volumes.clear();
        }
    });
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QTRY_COMPARE(currentPage(), QStringLiteral("ChooseLanguagePage"));
    m_visited.clear();
    m_answerer = std::make_unique<PopupAnswerer>();
    m_answerer->answerUnexpectedWith(Button::Left);
}

void TestPageGraph::cleanup()
{
    disconnect(Core::instance(), &Core::currentPageChanged, this, nullptr);
    m_answerer.reset();
    m_window.reset();
    QDir(m_platform->driveC).removeRecursively();
    m_platform.reset();
    QDir(Core::garminMapsFolder()).removeRecursively();
}

QString TestPageGraph::currentPage() const
{
    return stack()->currentWidget() ? stack()->currentWidget()->objectName() : QString();
}

void TestPageGraph::walk(const QList<RouteStep> &steps)
{
    RouteWalker walker(m_window.get(), 20000);
    walker.onPageReached = [this](const RouteStep &step) {
        m_answerer->expect(step.answers);
    };
    QCOMPARE(walker.walk(steps), QString());
    QTRY_COMPARE(m_answerer->pendingAnswers(), 0);
    QStringList expected;
    for (const RouteStep &step : steps) {
        expected.append(step.page);
    }
    QCOMPARE(m_visited, expected);
    QCOMPARE(m_answerer->unexpectedCount(), 0);
}

void TestPageGraph::routes_data()
{
    QTest::addColumn<Product>("product");
    // BaseCamp's version; empty when it is not installed.
    QTest::addColumn<QString>("baseCamp");
    // The name in the installed copy's Info.xml; empty when the map is not installed.
    QTest::addColumn<QString>("installed");
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QString>("popups"); // the pop-ups' headers, joined by ", "
    const auto skipBothCards = [](const QList<RouteAnswer> &answers) {
        return Steps{
            {"UpdateFirmwarePage", "NextButton"},        {"InsertSDPage", "ContinueButton"},
            {"NoSDUpdatesAvailablePage", "NextButton"},  {"EjectSDPage"},
            {"InsertSDPage", "ContinueButton"},          {"NoSDUpdatesAvailablePage", "NextButton"},
            {.page = "EjectSDPage", .answers = answers}, {"ViewMapOnPCPage"}};
    };
    const Steps toTheEnd{{"MajorReleaseAvailablePage"}, {"DownloadGPSDataPage"}, {"ThankYouPage"}};

    QTest::newRow("computer, no BaseCamp, out of date, transfer and GPS data")
        << Product::Computer << ""
        << "Halvorn Topo 24.1"
        << Steps{{"UpdateFirmwarePage", "NextButton", {Yes}},
                 {"DownloadBaseCampPage"},
                 {"InstallBaseCampPage", "ContinueButton"},
                 {"CloseGarminPage"},
                 {"PCUpdatesAvailablePage", "UpdateNowButton"},
                 {"DownloadMapPCPage"},
                 {"InformNewPCVersionPage", "NextButton", {Yes}},
                 {"MajorReleaseAvailablePage"},
                 {"TransferToGPS2Page", "NextButton"},
                 {"TransferToGPS3Page", "ContinueButton", {Yes}},
                 {"DownloadGPSDataPage"},
                 {"GPSDataExtractedPage", "NextButton"},
                 {"ThankYouPage"}}
        << "GARMIN BASECAMP REQUIRED, TRANSFER TO GPS, HALVORN TRAILS";
    QTest::newRow("computer, BaseCamp 4.6.1 is too old, declined: stays")
        << Product::Computer << "4.6.1"
        << "Halvorn Topo 24.1" << Steps{{"UpdateFirmwarePage", "NextButton", {No}}}
        << "GARMIN BASECAMP REQUIRED";
    QTest::newRow("computer, up to date, no transfer, no GPS data")
        << Product::Computer << "4.6.2"
        << "Halvorn Topo 24.2.0"
        << Steps{{"UpdateFirmwarePage", "NextButton"},
                 {"CloseGarminPage"},
                 {"NoPCUpdatesAvailablePage", "NextButton", {No, No}}} +
               toTheEnd
        << "TRANSFER TO GPS, HALVORN TRAILS";
    QTest::newRow("computer, installed version unreadable, reinstalled")
        << Product::Computer << "4.6.2"
        << "Halvorn Topo"
        << Steps{{"UpdateFirmwarePage", "NextButton"},
                 {"CloseGarminPage"},
                 {"NoPCUpdatesAvailablePage", "ReinstallButton"},
                 {"DownloadMapPCPage"}}
        << "";
    QTest::newRow("computer, failures given up, major release offered")
        << Product::ComputerWithMajorRelease << ""
        << ""
        << Steps{{"UpdateFirmwarePage", "NextButton", {Yes, No}},
                 {"DownloadBaseCampPage"},
                 {"MajorReleaseAvailablePage", "SkipButton", {Yes, No}},
                 {"TransferToGPS2Page", "SkipButton"},
                 {"DownloadGPSDataPage"},
                 {"ThankYouPage"}}
        << "GARMIN BASECAMP REQUIRED, ERROR, TRANSFER TO GPS, HALVORN TRAILS";
    QTest::newRow("computer, not installed, download given up")
        << Product::ComputerMapUnavailable << "4.6.2"
        << ""
        << Steps{{"UpdateFirmwarePage", "NextButton"},
                 {"CloseGarminPage"},
                 {.page = "DownloadMapPCPage", .answers = {No, No, Yes, No}}} +
               toTheEnd
        << "ERROR, TRANSFER TO GPS, HALVORN TRAILS, ERROR";
    // A card written for an earlier product (see init()) must not count on the card routes.
    QTest::newRow("cards, first written, second skipped, then the computer copy updated too")
        << Product::TwoCardsNewer << "4.6.2"
        << "Halvorn Topo 24.1"
        << Steps{{"UpdateFirmwarePage", "NextButton"},
                 {"InsertSDPage", "ContinueButton"},
                 {"SDUpdatesAvailablePage", "UpdateNowButton"},
                 {"DownloadMapSDPage"},
                 {"EjectSDPage"},
                 {"InsertSDPage", "ContinueButton"},
                 {"SDUpdatesAvailablePage", "SkipButton"},
                 {"EjectSDPage"},
                 {"InformNewSDVersionPage", "NextButton", {Yes, Yes}},
                 {"ViewMapOnPCPage"},
                 {"CloseGarminPage"},
                 {"PCUpdatesAvailablePage", "SkipButton"}} +
               toTheEnd
        << "VIEW MAP ON PC?, INSTALL MAP ON PC?";
    QTest::newRow("cards, every card skipped, not viewed")
        << Product::TwoCardsUpToDate << ""
        << "" << skipBothCards({No}) + toTheEnd << "VIEW MAP ON PC?";
    QTest::newRow("cards, every card skipped, BaseCamp needed to view")
        << Product::TwoCardsUpToDate << ""
        << ""
        << skipBothCards({Yes, Yes}) + Steps{{"DownloadBaseCampPage"}, {"InstallBaseCampPage"}}
        << "VIEW MAP ON PC?, GARMIN BASECAMP REQUIRED";
    QTest::newRow("cards, one reinstalled with nothing to download, BaseCamp skipped")
        << Product::TwoCardsUpToDate << ""
        << ""
        << Steps{{"UpdateFirmwarePage", "NextButton"},
                 {"InsertSDPage", "ContinueButton"},
                 {"NoSDUpdatesAvailablePage", "ReinstallButton"},
                 {"DownloadMapSDPage"},
                 {"EjectSDPage"},
                 {"InsertSDPage", "ContinueButton"},
                 {"NoSDUpdatesAvailablePage", "NextButton"},
                 {.page = "EjectSDPage", .answers = {Yes, No}},
                 {"ViewMapOnPCPage"}} +
               toTheEnd
        << "VIEW MAP ON PC?, GARMIN BASECAMP REQUIRED";
    QTest::newRow("cards, viewed on the computer, not installed there")
        << Product::TwoCardsUpToDate << "4.6.2"
        << "Halvorn Topo 24.1" << skipBothCards({Yes, No}) + Steps{{"CloseGarminPage"}} + toTheEnd
        << "VIEW MAP ON PC?, INSTALL MAP ON PC?";
}

void TestPageGraph::routes()
{
    QFETCH(Product, product);
    QFETCH(QString, baseCamp);
    QFETCH(QString, installed);
    QFETCH(Steps, steps);
    QFETCH(QString, popups);
    if (!baseCamp.isEmpty()) {
        QVERIFY(m_platform->setBaseCamp(QVersionNumber::fromString(baseCamp)));
    }
    if (!installed.isEmpty()) {
        QVERIFY(installMap(installed));
    }
    Core::instance()->setProductInfo(makeProduct(product));
    Core::instance()->setCurrentPage(PageId::UpdateFirmwarePage);

    walk(steps);

    QStringList shown;
    for (const PopupAnswerer::Shown &popup : m_answerer->shown()) {
        shown.append(popup.header);
    }
    QCOMPARE(shown.join(QStringLiteral(", ")), popups);
}

void TestPageGraph::answerToAReplacedPageMovesNothing_data()
{
    QTest::addColumn<PageId>("page");
    QTest::addColumn<Product>("product");
    QTest::addColumn<QString>("button"); // clicked to ask; none when the page asks by itself
    QTest::addColumn<QString>("question");
    QTest::newRow("transfer to the GPS")
        << PageId::MajorReleaseAvailablePage << Product::Computer << ""
        << "TRANSFER TO GPS";
    QTest::newRow("view on the computer")
        << PageId::ViewMapOnPCPage << Product::TwoCardsUpToDate << ""
        << "VIEW MAP ON PC?";
    QTest::newRow("install on the computer")
        << PageId::CloseGarminPage << Product::TwoCardsUpToDate << ""
        << "INSTALL MAP ON PC?";
    QTest::newRow("BaseCamp required")
        << PageId::UpdateFirmwarePage << Product::Computer << "NextButton"
        << "GARMIN BASECAMP REQUIRED";
}

// A question runs its own event loop; if the page that asked is replaced meanwhile, the answer
// must not move the wizard away from the page now shown.
void TestPageGraph::answerToAReplacedPageMovesNothing()
{
    QFETCH(PageId, page);
    QFETCH(Product, product);
    QFETCH(QString, button);
    // The question stays open until answered here, from within its own event loop, after the
    // page that asked has been replaced.
    m_answerer = std::make_unique<PopupAnswerer>();
    bool answered = false;
    QTimer whileAsking;
    connect(&whileAsking, &QTimer::timeout, this, [&] {
        if (!answered && m_answerer->openPopup()) {
            answered = true;
            Core::instance()->setCurrentPage(PageId::ThankYouPage);
            m_answerer->answerOpen(Button::Right);
        }
    });
    whileAsking.start(10);

    Core::instance()->setProductInfo(makeProduct(product));
    Core::instance()->setCurrentPage(page);
    if (!button.isEmpty()) {
        // Clicked from the event loop, where the question's own loop then runs.
        auto *asking = stack()->currentWidget()->findChild<QPushButton *>(button);
        QVERIFY(asking);
        QMetaObject::invokeMethod(asking, &QPushButton::click, Qt::QueuedConnection);
    }
    QTRY_VERIFY(answered && !m_answerer->openPopup());
    QCoreApplication::processEvents();
    QTEST(m_answerer->shown().value(0).header, "question");
    QCOMPARE(currentPage(), QStringLiteral("ThankYouPage"));
    QCOMPARE(m_visited, (QStringList{pageClassName(page), "ThankYouPage"}));
}

void TestPageGraph::pageSwitchDeletesTheOldPageBeforeReturning()
{
    QPointer<QWidget> old = stack()->currentWidget();
    Core::instance()->setCurrentPage(PageId::ChooseLanguagePage);
    QVERIFY(old.isNull());
    QCOMPARE(stack()->count(), 1);
    QCOMPARE(currentPage(), QStringLiteral("ChooseLanguagePage"));

    // Without a page the placeholder stands in; it survives being replaced, so it can come back.
    QMetaObject::invokeMethod(m_window.get(), "onCurrentPageChanged", Q_ARG(QWidget *, nullptr));
    QCOMPARE(stack()->count(), 1);
    QCOMPARE(currentPage(), QStringLiteral("PlaceholderPage"));
    Core::instance()->setCurrentPage(PageId::ThankYouPage);
    QMetaObject::invokeMethod(m_window.get(), "onCurrentPageChanged", Q_ARG(QWidget *, nullptr));
    QCOMPARE(currentPage(), QStringLiteral("PlaceholderPage"));
}

void TestPageGraph::nestedPopupsKeepTheOverlayUntilTheLastCloses()
{
    m_answerer.reset(); // this test answers its pop-ups itself
    QWidget *dim = overlay();
    QVERIFY(!dim->isVisible());

    PopupAnswerer answerer;
    QList<bool> visible; // while the outer pop-up is open, after an inner pop-up, after help
    bool innerAccepted = true;
    QPointer<QLabel> picture = new QLabel(QStringLiteral("picture"));
    QTimer::singleShot(0, this, [&] {
        visible.append(dim->isVisible());
        answerer.answer(Button::Left);
        innerAccepted = PopupDialog::ask(QStringLiteral("Inner"), QString(), QStringLiteral("No"),
                                         QStringLiteral("Yes"));
        visible.append(dim->isVisible());
        Core::instance()->showNeedHelp(nullptr); // nothing to show: no pop-up
        answerer.answer(Button::Right);
        Core::instance()->showNeedHelp(picture);
        visible.append(dim->isVisible());
        answerer.answerOpen(Button::Right);
    });
    QVERIFY(PopupDialog::ask(QStringLiteral("Outer"), QString(), QStringLiteral("No"),
                             QStringLiteral("Yes")));
    QVERIFY(!innerAccepted);
    QCOMPARE(visible, (QList<bool>{true, true, true}));
    QVERIFY(!dim->isVisible());
    QCOMPARE(answerer.shownCount(), 3);
    QCOMPARE(answerer.shown().at(1).leftButton, QStringLiteral("NO"));
    QCOMPARE(answerer.shown().at(2).className, QStringLiteral("NeedHelpDialog"));
    QVERIFY(picture.isNull()); // the help dialog took it and deleted it
}

void TestPageGraph::overlayCoversTheWindowWhenResized()
{
    QWidget *dim = overlay();
    m_window->resize(395, 505);
    QCOMPARE(dim->size(), m_window->size());
    // A page added later must not cover the overlay.
    Core::instance()->setCurrentPage(PageId::ThankYouPage);
    PopupDialog popup;
    QVERIFY(dim->isVisible());
    QCOMPARE(m_window->childAt(m_window->rect().center()), dim);
}

void TestPageGraph::namesForScreenReaders()
{
    const auto name = [](QObject *object) {
        return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
    };
    QCOMPARE(name(m_window->findChild<QToolButton *>("CloseButton")), "Close");

    PopupDialog popup;
    popup.setHeader("Error");
    QCOMPARE(name(&popup), "Error");

    SerialDialog serial;
    QCOMPARE(name(&serial), "Product Serial Number");
    auto *field = serial.findChild<QLineEdit *>("SerialLineEdit");
    QCOMPARE(name(field), "Serial number");
    const auto labels = QAccessible::queryAccessibleInterface(field)->relations(QAccessible::Label);
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.first().first->object(), serial.findChild<QLabel *>("TextLabel"));
}

HALVORNSYNC_TEST_MAIN(TestPageGraph)
#include "tst_pagegraph.moc"
