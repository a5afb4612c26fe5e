#include "FakePlatform.h"
#include "PopupAnswerer.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "UrlRecorder.h"
#include "VendorServiceProcess.h"
#include "app/Core.h"
#include "app/LanguageChoice.h"
#include "app/MainWindow.h"
#include "app/PageFactory.h"
#include "app/Startup.h"
#include "pages/card/InformNewSDVersionPage.h"
#include "pages/card/NoSDUpdatesAvailablePage.h"
#include "pages/computer/CloseGarminPage.h"
#include "pages/computer/ProductsUninstalledPage.h"
#include "pages/computer/SelectProductsPage.h"
#include "pages/computer/TransferToGPS3Page.h"
#include "pages/computer/UninstallingPage.h"
#include "pages/shared/GPSDataExtractedPage.h"
#include "pages/shared/ThankYouPage.h"
#include "service/ProductInfo.h"
#include "service/VersionReport.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QListView>
#include <QNetworkAccessManager>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include <functional>
#include <memory>

using PageMaker = std::function<QWidget *()>;
Q_DECLARE_METATYPE(PageMaker)

namespace {
PageMaker made(PageId id)
{
    return [id] {
        return createPage(id);
    };
}

// The label's text as the user reads it; empty when the page has no such label.
QString plainText(const QWidget *page, const char *name)
{
    const auto *label = page->findChild<QLabel *>(QLatin1String(name));
    QTextDocument document;
    document.setHtml(label ? label->text() : QString());
    return document.toPlainText();
}

QPushButton *button(const QWidget *page, const QString &name)
{
    return page->findChild<QPushButton *>(name);
}

} // namespace

class TestPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void texts_data();
    void texts();
    void cardWithoutMap_data();
    void cardWithoutMap();
    void garminProgramsStartFromTheirCheckedPaths();
    void closeGarminPageRoutes_data();
    void closeGarminPageRoutes();
    void pageGoneBeforeBaseCampClosedDoesNothing();
    void uninstall_data();
    void uninstall();
    void buttonsLeadOn_data();
    void buttonsLeadOn();
    void pagesFitTheWindow_data();
    void pagesFitTheWindow();

private:
    VendorServiceProcess m_service;
    FakePlatform m_platform;
    QTemporaryDir m_sandbox;
    std::unique_ptr<MainWindow> m_window;
    QList<PageId> m_requested;
};

void TestPages::initTestCase()
{
    // The style sheet's fonts are what has to fit.
    Startup::applyLook(*qApp);
    QVERIFY2(m_service.start(), qPrintable(m_service.errorString()));
    m_service.useAsServiceAddress();
    m_platform.driveC = m_sandbox.filePath(QStringLiteral("drive_c"));
    // The pages are tested alone: the pages they lead to are recorded, not built.
    Core::instance()->setPageFactory([this](PageId id) -> QWidget * {
        m_requested.append(id);
        return nullptr;
    });
    // It carries the installed computer version and dims itself under pop-ups.
    m_window = std::make_unique<MainWindow>();
    m_window->show();
    QTRY_COMPARE(m_requested.size(), 1);
}

void TestPages::init()
{
    QDir(m_platform.driveC).removeRecursively();
    m_platform.calls.clear();
    LanguageChoice::apply(QStringLiteral("en"));
    m_requested.clear();
    m_service.clearRequests();
    auto *product = new ProductInfo;
    product->productName = QStringLiteral("Halvorn Topo Norway");
    product->productSerial = QStringLiteral("HALV-SD-0002");
    product->latestVersion = QVersionNumber(24, 2, 0);
    product->sdVersion = QVersionNumber(23, 4, 1);
    product->changelogUrl = QUrl(QStringLiteral("https://halvorn.example/changelog"));
    product->majorProductReleaseUrl = QUrl(QStringLiteral("https://halvorn.example/topo-25"));
    product->updateGpsFirmwareUrl = QUrl(QStringLiteral("https://halvorn.example/firmware"));
    product->additionalGpsDataName = QStringLiteral("Halvorn Mountain Huts");
    product->additionalGpsDataInstructions = QUrl(QStringLiteral("https://halvorn.example/import"));
    Core::instance()->setProductInfo(product);
    Core::instance()->setCardDrive(TestSandbox::makeCard(QStringLiteral("card"), 4662));
}

void TestPages::cleanup()
{
    // A report still running belongs to the row that sent it.
    QTRY_VERIFY(Core::instance()->networkManager()->findChildren<VersionReport *>().isEmpty());
    QDir(Core::garminMapsFolder()).removeRecursively();
    // An uninstall leaves its report there, which a later uninstalling page would take for maps.
    Core::instance()->setMapsToUninstall({});
}

void TestPages::texts_data()
{
    QTest::addColumn<PageMaker>("page");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("installed");
    QTest::addColumn<QStringList>("lines");
    const QString name = "Halvorn Topo Norway";
    QTest::newRow("computer update") << made(PageId::PCUpdatesAvailablePage) << name << "24.1"
                                     << QStringList{"your map on your PC.", "Your version: 24.1\n",
                                                    "Available version: 24.2.0\n"};
    QTest::newRow("computer current, installed version unreadable")
        << made(PageId::NoPCUpdatesAvailablePage) << name << ""
        << QStringList{"up to date on your PC.", "Your version: \nAvailable version: 24.2.0"};
    // The card's version is the one on record with the service, whatever the computer has.
    QTest::newRow("card update") << made(PageId::SDUpdatesAvailablePage) << name << "24.1"
                                 << QStringList{"Your version: 23.4.1\n",
                                                "Available version: 24.2.0\n"};
    // The product's major version against the one on sale.
    QTest::newRow("major release") << made(PageId::MajorReleaseAvailablePage) << name << ""
                                   << QStringList{"Your version: 24\n", "Available version: 25"};
    // Markup and a placeholder of its own in the service's name must neither vanish nor be
    // replaced by another value.
    const QString odd = "Topo <Nord> & Sør 100%2";
    QTest::newRow("computer updated, name with markup and %2")
        << made(PageId::InformNewPCVersionPage) << odd << ""
        << QStringList{odd + "\n", "on your PC is now at version 24.2.0."};
    QTest::newRow("card updated, name with markup and %2")
        << made(PageId::InformNewSDVersionPage) << odd << ""
        << QStringList{odd + "\n", "is now at version 24.2.0."};
    QTest::newRow("GPS data extracted, name with markup and %2: its folder named")
        << made(PageId::GPSDataExtractedPage) << odd << ""
        << QStringList{odd + " was successfully extracted to the folder Topo Nord & Sør 100%2 in "
                             "your Downloads folder on your PC."};
}

void TestPages::texts()
{
    QFETCH(PageMaker, page);
    QFETCH(QString, name);
    QFETCH(QString, installed);
    QFETCH(QStringList, lines);
    ProductInfo *product = Core::instance()->productInfo();
    product->productName = name;
    product->additionalGpsDataName = name;
    product->majorProductReleaseAvailable = true;
    product->majorProductReleaseVersion = 25;
    m_window->setProperty("PC_MAP_VERSION", installed);

    const std::unique_ptr<QWidget> shown(page());
    // Some pages fill their texts in once they are under way.
    const auto text = [&shown] {
        return plainText(shown.get(), "InfoLabel") + QLatin1Char('\n') +
               plainText(shown.get(), "InfoLabelTop");
    };
    for (const QString &line : lines) {
        QTRY_VERIFY2(text().contains(line), qPrintable(text()));
    }
}

void TestPages::cardWithoutMap_data()
{
    QTest::addColumn<bool>("driveChosen");
    QTest::newRow("blank card") << true;
    // A map in the working folder is not on a card.
    QTest::newRow("no drive chosen") << false;
}

// A card without the map is offered the map to install, not a version to keep.
void TestPages::cardWithoutMap()
{
    QFETCH(bool, driveChosen);
    Core::instance()->setCardDrive(TestSandbox::makeCard(QStringLiteral("card"), std::nullopt));
    const QString previous = QDir::currentPath();
    if (!driveChosen) {
        Core::instance()->setCardDrive(QString());
        QVERIFY(QDir::setCurrent(QDir::homePath() + QStringLiteral("/card")));
        QFile map(QStringLiteral("garmin/gmapsupp.img"));
        QVERIFY(map.open(QIODevice::WriteOnly));
    }

    NoSDUpdatesAvailablePage page;
    QDir::setCurrent(previous);

    QCOMPARE(button(&page, "ReinstallButton")->text(), QStringLiteral("INSTALL MAP"));
    QVERIFY(button(&page, "NextButton")->isHidden());
    QCOMPARE(plainText(&page, "InfoLabel").contains(QLatin1String("Your version")), false);
    QVERIFY(plainText(&page, "InfoLabel").contains(QLatin1String("Available version: 24.2.0")));
    page.show();
    QTest::mouseClick(button(&page, "ReinstallButton"), Qt::LeftButton);
    QCOMPARE(m_requested, QList<PageId>{PageId::DownloadMapSDPage});
}

// The Garmin program paths are found once per run, by the first check that passes, so the steps
// below run in the order a run would take them.
void TestPages::garminProgramsStartFromTheirCheckedPaths()
{
    // A check that fails gives no path: no BaseCamp button, no MapInstall to start.
    QVERIFY(m_platform.setBaseCamp(QVersionNumber(4, 6, 1)));
    {
        const ThankYouPage thanks;
        QVERIFY(button(&thanks, "GarminBaseCampButton")->isHidden());
        TransferToGPS3Page transfer;
        QVERIFY(QMetaObject::invokeMethod(&transfer, "Initialization"));
        QCOMPARE(m_platform.startedPrograms, QStringList());
    }

    QVERIFY(m_platform.setBaseCamp(QVersionNumber(4, 6, 2)));
    ThankYouPage thanks;
    thanks.show();
    QVERIFY(button(&thanks, "GarminBaseCampButton")->isVisible());
    QTest::mouseClick(button(&thanks, "GarminBaseCampButton"), Qt::LeftButton);
    QCOMPARE(m_platform.startedPrograms,
             QStringList{"\"C:/Program Files (x86)/Garmin/BaseCamp/BaseCamp.exe\""});

    TransferToGPS3Page transfer;
    QTRY_COMPARE(m_platform.startedPrograms.size(), 2);
    QCOMPARE(m_platform.startedPrograms.last(),
             QStringLiteral("\"C:/Program Files (x86)/Garmin//MapInstall.exe\""));
}

void TestPages::closeGarminPageRoutes_data()
{
    QTest::addColumn<QString>("folder"); // of the copy of the product's map, beside another map
    QTest::addColumn<PageId>("next");
    QTest::addColumn<QString>("property"); // the installed version the main window carries
    QTest::newRow("update") << "HalvornTopo" << PageId::PCUpdatesAvailablePage << "24.1";
    QTest::newRow("only the download's copy")
        << "HalvornSyncDownloads/HalvornTopo" << PageId::DownloadMapPCPage << "untouched";
}

// A card product's question and its answers: tst_pagegraph's routes.
void TestPages::closeGarminPageRoutes()
{
    QFETCH(QString, folder);
    QVERIFY(TestSandbox::addInstalledMap("HalvornRoads", 9999, "Halvorn Roads 1.0"));
    QVERIFY(TestSandbox::addInstalledMap(folder, 4411, "Halvorn Topo 24.1"));
    ProductInfo *product = Core::instance()->productInfo();
    product->isPcFormat = true;
    product->pcSubProduct.fids = {4410, 4411};
    m_window->setProperty("PC_MAP_VERSION", QStringLiteral("untouched"));
    const PopupAnswerer answerer;

    const CloseGarminPage page;
    QTRY_COMPARE(m_requested.size(), 1);
    QTEST(m_requested.first(), "next");
    QTEST(m_window->property("PC_MAP_VERSION").toString(), "property");
    QCOMPARE(m_platform.calls, QStringList({"closeBaseCamp", "writeBaseCampDetail"}));
    QCOMPARE(answerer.shownCount(), 0);
}

// The window may be closed while BaseCamp is being closed: the late report finds nothing to
// act on.
void TestPages::pageGoneBeforeBaseCampClosedDoesNothing()
{
    Core::instance()->productInfo()->isPcFormat = true;
    m_platform.holdReports = true;
    auto *page = new CloseGarminPage;
    QTRY_COMPARE(m_platform.calls, QStringList{"closeBaseCamp"});
    delete page;
    m_platform.holdReports = false;
    m_platform.releaseHeldReports();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(m_platform.calls, QStringList{"closeBaseCamp"});
    QVERIFY(m_requested.isEmpty());
}

void TestPages::uninstall_data()
{
    QTest::addColumn<QList<int>>("ticks"); // rows of the check list, in the order ticked
    QTest::addColumn<int>("inUse");        // the row whose folder cannot be wholly deleted
    // Neither the order of the list nor its reverse.
    QTest::newRow("ticked first, last, middle") << QList{0, 2, 1} << -1;
    QTest::newRow("first ticked in use, the next still removed") << QList{2, 0} << 2;
}

void TestPages::uninstall()
{
    QFETCH(QList<int>, ticks);
    QFETCH(int, inUse);
    const QDir maps(Core::garminMapsFolder());
    // A name is text in the report, not markup.
    for (const QString &name : QStringList{"HalvornA", "HalvornB", "Halvorn <C> & Co"}) {
        QVERIFY(maps.mkpath(name + "/data"));
    }
    Core *core = Core::instance();
    core->refreshInstalledMapFolders();
    const QStringList listed = core->installedMapFolders();
    SelectProductsPage select;
    auto *list = select.findChild<QListView *>();
    const auto toggle = [list](int row) {
        list->setCurrentIndex(list->model()->index(row, 0));
        QTest::keyClick(list, Qt::Key_Space);
    };
    button(&select, "BackButton")->click();
    QCOMPARE(m_requested, QList{PageId::InstallUpdateUninstallPage});
    m_requested.clear();
    for (const int row : ticks + ticks) {
        toggle(row);
    }
    QVERIFY(!button(&select, "UninstallButton")->isEnabled());
    QStringList report;
    for (const int row : ticks) {
        toggle(row);
        report << listed[row] + (row == inUse ? ": Error (Maybe it is protected?)" : ": Success");
    }
    m_platform.undeletableFolders = QStringList{listed.value(inUse)};
    button(&select, "UninstallButton")->click();

    const UninstallingPage uninstalling;
    QTRY_COMPARE(m_requested, (QList{PageId::UninstallingPage, PageId::ProductsUninstalledPage}));
    m_platform.undeletableFolders.clear();
    // "Update Another Product" must not offer what is gone.
    QCOMPARE(core->installedMapFolders(),
             maps.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted));
    const ProductsUninstalledPage result;
    const QTextDocument *shown = result.findChild<QTextBrowser *>()->document();
    QCOMPARE(shown->toPlainText(), report.join(QLatin1Char('\n')));
    if (inUse >= 0) {
        QCOMPARE(shown->find("Error").charFormat().foreground().color(), QColor(Qt::red));
    }
    button(&result, "NextButton")->click();
    QCOMPARE(m_requested.last(), PageId::ThankYouPage);
}

void TestPages::buttonsLeadOn_data()
{
    QTest::addColumn<PageMaker>("page");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("target"); // an address, or the page that comes next
    const auto row = [](const char *name, const PageMaker &page, const char *button,
                        const QString &target) {
        QTest::newRow(name) << page << QString::fromLatin1(button) << target;
    };
    row("changes", made(PageId::PCUpdatesAvailablePage), "WhatsChangedButton",
        "https://halvorn.example/changelog");
    row("major release: the release", made(PageId::MajorReleaseAvailablePage), "LearMoreButton",
        "https://halvorn.example/topo-25");
    row("firmware", made(PageId::UpdateFirmwarePage), "UpdateFirmwareButton",
        "https://halvorn.example/firmware");
    row("GPS data import", made(PageId::GPSDataExtractedPage), "HowToImportButton",
        "https://halvorn.example/import");
    row(
        "GPS data import elsewhere: nothing opened",
        [] {
            auto *product = new ProductInfo;
            product->additionalGpsDataInstructions = QUrl(QStringLiteral("file:///etc/passwd"));
            Core::instance()->setProductInfo(product);
            return new GPSDataExtractedPage;
        },
        "HowToImportButton", QString());
    row("learning centre", made(PageId::ThankYouPage), "LearningCenterButton",
        m_service.baseUrl().toString() + "/en/support/learning-center/");
}

void TestPages::buttonsLeadOn()
{
    QFETCH(PageMaker, page);
    QFETCH(QString, button);
    const UrlRecorder browser({"https", "http", "file"});

    const std::unique_ptr<QWidget> shown(page());
    ::button(shown.get(), button)->click();

    QStringList went = browser.opened;
    for (const PageId id : m_requested) {
        went << pageClassName(id);
    }
    QFETCH(QString, target);
    QCOMPARE(went, target.isNull() ? QStringList() : QStringList{target});
}

void TestPages::pagesFitTheWindow_data()
{
    QTest::addColumn<PageMaker>("page");
    QTest::addColumn<QString>("language");
    // What Tab reaches after the main window's close button, in order: the page's reading order,
    // ending on its main button.
    QTest::addColumn<QStringList>("focusChain");
    const QHash<PageId, QStringList> chains{
        {PageId::ChooseLanguagePage, {"EnglishButton", "FrenchButton"}},
        {PageId::InstallUpdateUninstallPage, {"UninstallButton", "InstallUpdateButton"}},
        {PageId::SelectProductsPage, {"MapsListView", "BackButton", "UninstallButton"}},
        {PageId::ProductsUninstalledPage, {"TextBrowser", "NextButton"}},
        {PageId::UpdateFirmwarePage, {"UpdateFirmwareButton", "NextButton"}},
        {PageId::InsertSDPage, {"NeedHelpButton", "DrivesComboBox", "ContinueButton"}},
        {PageId::SDUpdatesAvailablePage, {"WhatsChangedButton", "SkipButton", "UpdateNowButton"}},
        {PageId::NoSDUpdatesAvailablePage, {"ReinstallButton", "NextButton"}},
        {PageId::InformNewPCVersionPage, {"NextButton"}},
        {PageId::InformNewSDVersionPage, {"NextButton"}},
        {PageId::InstallBaseCampPage, {"ContinueButton"}},
        {PageId::PCUpdatesAvailablePage, {"WhatsChangedButton", "SkipButton", "UpdateNowButton"}},
        {PageId::NoPCUpdatesAvailablePage, {"ReinstallButton", "NextButton"}},
        {PageId::MajorReleaseAvailablePage, {"WhatsChangedButton", "SkipButton", "LearMoreButton"}},
        {PageId::TransferToGPS2Page, {"NeedHelpButton", "SkipButton", "NextButton"}},
        {PageId::TransferToGPS3Page, {"ContinueButton"}},
        {PageId::GPSDataExtractedPage, {"HowToImportButton", "NextButton"}},
        {PageId::ThankYouPage,
         {"GarminBaseCampButton", "LearningCenterButton", "UpdateAnotherButton", "ExitButton"}},
    };
    // Every page but those that set off work or a question as soon as they are built.
    const QList<PageId> busy{PageId::HighSpeedConnectionRequiredPage,
                             PageId::CloseGarminPage,
                             PageId::ViewMapOnPCPage,
                             PageId::DownloadMapPCPage,
                             PageId::DownloadMapSDPage,
                             PageId::DownloadBaseCampPage,
                             PageId::DownloadGPSDataPage};
    const QMetaEnum ids = QMetaEnum::fromType<PageId>();
    for (const char *language : {"en", "fr"}) {
        for (int i = 0; i < ids.keyCount(); ++i) {
            if (!busy.contains(PageId(ids.value(i)))) {
                QTest::addRow("%s, %s", ids.key(i), language)
                    << made(PageId(ids.value(i))) << QString::fromLatin1(language)
                    << chains.value(PageId(ids.value(i)));
            }
        }
    }
}

// Every text whole at the room the main window gives a page, with every widget the page can show
// at once in view and a product name of a usual length; every control that Tab reaches has a name
// a screen reader can say, and Tab reaches them in the order they are read, from the main window's
// close button on.
void TestPages::pagesFitTheWindow()
{
    QFETCH(PageMaker, page);
    QFETCH(QString, language);
    LanguageChoice::apply(language);
    ProductInfo *product = Core::instance()->productInfo();
    product->productName = QStringLiteral("Halvorn Topo Norway (major release)");
    // The major release page shows its offer, as it is forced to here.
    product->majorProductReleaseAvailable = true;
    m_window->setProperty("PC_MAP_VERSION", QStringLiteral("24.1.3"));
    QWidget room;
    room.setFixedSize(352, 346);
    QWidget *shown = page();
    (new QVBoxLayout(&room))->addWidget(shown);
    room.layout()->setContentsMargins(0, 0, 0, 0);
    // Leaves out the parts Qt builds into a list or a text box, which scroll inside it.
    QList<QWidget *> children = shown->findChildren<QWidget *>();
    children.removeIf([](const QWidget *child) {
        return child->objectName().isEmpty() ||
               child->objectName().startsWith(QLatin1String("qt_"));
    });
    for (QWidget *child : children) {
        child->setVisible(true);
    }
    room.show();
    QVERIFY(QTest::qWaitForWindowExposed(&room));

    QList<QWidget *> visible;
    for (QWidget *child : children) {
        if (child->focusPolicy() & Qt::TabFocus) {
            QVERIFY2(
                !QAccessible::queryAccessibleInterface(child)->text(QAccessible::Name).isEmpty(),
                qPrintable(child->objectName()));
        }
        if (auto *label = qobject_cast<QLabel *>(child)) {
            const QSize needed(label->wordWrap() ? 0 : label->sizeHint().width(),
                               label->wordWrap() ? label->heightForWidth(label->width())
                                                 : label->sizeHint().height());
            QVERIFY2(needed.width() <= label->width() && needed.height() <= label->height(),
                     qPrintable(QStringLiteral("%1 needs %2 x %3, has %4 x %5")
                                    .arg(label->objectName())
                                    .arg(needed.width())
                                    .arg(needed.height())
                                    .arg(label->width())
                                    .arg(label->height())));
        } else if (auto *pushButton = qobject_cast<QPushButton *>(child)) {
            // The style sheet pads action buttons by 12 on each side, the pill buttons by 10.
            const int padding = pushButton->height() > 40 ? 24 : 20;
            const int needed =
                QFontMetrics(pushButton->font()).horizontalAdvance(pushButton->text()) + padding;
            QVERIFY2(needed <= pushButton->width(), qPrintable(pushButton->objectName()));
        }
        visible.append(child);
    }
    for (int i = 0; i < visible.size(); ++i) {
        const QRect area(visible[i]->mapTo(shown, QPoint()), visible[i]->size());
        QVERIFY2(shown->rect().contains(area), qPrintable(visible[i]->objectName()));
        for (int j = i + 1; j < visible.size(); ++j) {
            const QRect other(visible[j]->mapTo(shown, QPoint()), visible[j]->size());
            QVERIFY2(!area.intersects(other), qPrintable(visible[i]->objectName() + " overlaps " +
                                                         visible[j]->objectName()));
        }
    }

    // Walked along the chain Tab follows, not by pressing it: that needs an active window.
    QVERIFY(
        QMetaObject::invokeMethod(m_window.get(), "onCurrentPageChanged", Q_ARG(QWidget *, shown)));
    auto *close = m_window->findChild<QWidget *>(QStringLiteral("CloseButton"));
    QStringList chain;
    QWidget *stop = close;
    do {
        if ((stop->focusPolicy() & Qt::TabFocus) && stop->isVisibleTo(m_window.get()) &&
            !stop->objectName().startsWith(QLatin1String("qt_"))) {
            chain << stop->objectName();
        }
        stop = stop->nextInFocusChain();
    } while (stop != close && chain.size() < 20);
    QFETCH(QStringList, focusChain);
    QCOMPARE(chain, QStringList{QStringLiteral("CloseButton")} + focusChain);
    // The page's first control that takes input has the keyboard when the page appears, never the
    // close button.
    const auto takesInput = [shown](const QString &name) {
        return shown->findChild<QWidget *>(name)->isEnabled();
    };
    const auto first = std::find_if(focusChain.cbegin(), focusChain.cend(), takesInput);
    if (first != focusChain.cend()) {
        QVERIFY(m_window->focusWidget());
        QCOMPARE(m_window->focusWidget()->objectName(), *first);
    }
}

HALVORNSYNC_TEST_MAIN(TestPages)
#include "tst_pages.moc"
