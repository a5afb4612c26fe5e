#include "FakePlatform.h"
#include "PeFileBuilder.h"
#include "PopupAnswerer.h"
#include "TestMain.h"
#include "app/Core.h"
#include "app/MainWindow.h"
#include "app/PageFactory.h"
#include "app/PendingPage.h"
#include "pages/computer/BaseCampGate.h"
#include "pages/computer/CloseGarminPage.h"
#include "service/ProductInfo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

using Button = PopupAnswerer::Button;

namespace {
const char *const kProperty = "PC_MAP_VERSION";
const QString kUntouched = QStringLiteral("untouched");

// "folder=ID=Name" puts an Info.xml into that folder of the Garmin maps folder.
bool installMap(const QString &map)
{
    const QStringList parts = map.split(QLatin1Char('='));
    const QString path = Core::garminMapsFolder() + QLatin1Char('/') + parts[0] + "/Info.xml";
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    const QByteArray xml = QString("<MapProduct><ID>%1</ID><SubProduct><Name>%2</Name>"
                                   "</SubProduct></MapProduct>")
                               .arg(parts[1], parts[2])
                               .toUtf8();
    return file.open(QIODevice::WriteOnly) && file.write(xml) == xml.size();
}
} // namespace

class TestGarminHandOff : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void closeGarminPageRoutes_data();
    void closeGarminPageRoutes();
    void firstMatchingMapIsTheInstalledCopy();
    void pageGoneBeforeBaseCampClosedDoesNothing();
    void viewMapOnPCPageRoutes_data();
    void viewMapOnPCPageRoutes();
    void viewMapOnPCPageAnswerAfterTheWizardMovedOnDoesNothing();
    void gateRoutes_data();
    void gateRoutes();

private:
    void useProduct(bool isPcFormat, const QString &latest);
    // The real page is built only for `real`, placeholders for every other id, so each test
    // stops at the page after the one it is about.
    void buildRealPageOnlyFor(std::optional<PageId> real);
    QString installedVersion() const { return m_window->property(kProperty).toString(); }

    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<QTemporaryDir> m_driveC;
    std::unique_ptr<MainWindow> m_window;
    QList<PageId> m_pages;
};

void TestGarminHandOff::init()
{
    m_platform = std::make_unique<FakePlatform>();
    m_driveC = std::make_unique<QTemporaryDir>();
    m_platform->driveC = m_driveC->path();
    QDir(Core::garminMapsFolder()).removeRecursively();
    buildRealPageOnlyFor(PageId::CloseGarminPage);
    m_window = std::make_unique<MainWindow>();
    m_window->show();
    QTRY_COMPARE(m_pages, QList<PageId>{PageId::ChooseLanguagePage});
    m_pages.clear();
    m_window->setProperty(kProperty, kUntouched);
}

void TestGarminHandOff::cleanup()
{
    m_window.reset();
    Core::instance()->setPageFactory({});
    Core::instance()->setProductInfo(nullptr);
    m_platform.reset();
    m_pages.clear();
}

void TestGarminHandOff::useProduct(bool isPcFormat, const QString &latest)
{
    auto *product = new ProductInfo;
    product->isPcFormat = isPcFormat;
    product->pcSubProduct.fids = {4410, 4411};
    product->latestVersion = QVersionNumber::fromString(latest);
    Core::instance()->setProductInfo(product);
}

void TestGarminHandOff::buildRealPageOnlyFor(std::optional<PageId> real)
{
    Core::instance()->setPageFactory([this, real](PageId id) -> QWidget * {
        m_pages.append(id);
        return id == real ? createPage(id) : new PendingPage(id);
    });
}

void TestGarminHandOff::closeGarminPageRoutes_data()
{
    QTest::addColumn<bool>("isPcFormat");
    QTest::addColumn<QStringList>("maps");
    QTest::addColumn<QString>("latest");
    QTest::addColumn<QList<Button>>("answers");
    QTest::addColumn<PageId>("next");
    QTest::addColumn<QString>("property");
    const QString topo241 = "HalvornTopo=4411=Halvorn Topo 24.1";
    const QString other = "HalvornRoads=9999=Halvorn Roads 1.0";
    using P = PageId;
    QTest::newRow("computer, update") << true << QStringList{other, topo241} << "24.2.0"
                                      << QList<Button>() << P::PCUpdatesAvailablePage << "24.1";
    QTest::newRow("computer, up to date")
        << true << QStringList{"HalvornTopo=4410=Topo 24.1.0"} << "24.1.0" << QList<Button>()
        << P::NoPCUpdatesAvailablePage << "24.1.0";
    QTest::newRow("computer, name without digits")
        << true << QStringList{"HalvornTopo=4410=Topo"} << "24.1.0" << QList<Button>()
        << P::NoPCUpdatesAvailablePage << "";
    QTest::newRow("computer, no installed copy")
        << true << QStringList{other, "HalvornSyncDownloads/HalvornTopo=4410=Topo 1.0"} << "24.1.0"
        << QList<Button>() << P::DownloadMapPCPage << kUntouched;
    QTest::newRow("card, no") << false << QStringList{topo241} << "24.2.0" << QList{Button::Left}
                              << P::MajorReleaseAvailablePage << kUntouched;
    QTest::newRow("card, yes") << false << QStringList{topo241} << "24.2.0" << QList{Button::Right}
                               << P::PCUpdatesAvailablePage << "24.1";
}

void TestGarminHandOff::closeGarminPageRoutes()
{
    QFETCH(bool, isPcFormat);
    QFETCH(QStringList, maps);
    QFETCH(QString, latest);
    QFETCH(QList<Button>, answers);
    QFETCH(PageId, next);
    QFETCH(QString, property);
    for (const QString &map : maps) {
        QVERIFY(installMap(map));
    }
    useProduct(isPcFormat, latest);
    PopupAnswerer answerer;
    for (const Button answer : answers) {
        answerer.answer(answer);
    }

    Core::instance()->setCurrentPage(PageId::CloseGarminPage);
    QTRY_COMPARE(m_pages.size(), 2);

    QCOMPARE(m_pages.last(), next);
    QCOMPARE(installedVersion(), property);
    const QStringList baseCampSteps{"closeBaseCamp", "writeBaseCampDetail"};
    QCOMPARE(m_platform->calls, baseCampSteps);
    QCOMPARE(answerer.shownCount(), int(answers.size()));
    if (!answers.isEmpty()) {
        QCOMPARE(answerer.shown().first().header, QStringLiteral("INSTALL MAP ON PC?"));
    }
}

// Which of two matching copies comes first depends on the file system; the first found is the
// installed copy, whatever its version.
void TestGarminHandOff::firstMatchingMapIsTheInstalledCopy()
{
    QVERIFY(installMap("HalvornTopoA=4410=Topo 24.1"));
    QVERIFY(installMap("HalvornTopoB=4411=Topo 24.3"));
    const QString first = Core::readMapVersion(Core::installedMapInfoFiles().value(0)).toString();
    useProduct(true, "24.2.0");

    Core::instance()->setCurrentPage(PageId::CloseGarminPage);
    QTRY_COMPARE(m_pages.size(), 2);

    QCOMPARE(installedVersion(), first);
    QCOMPARE(m_pages.last(),
             first == "24.1" ? PageId::PCUpdatesAvailablePage : PageId::NoPCUpdatesAvailablePage);
}

// The window may be closed while BaseCamp is being closed: the late report finds nothing to
// act on.
void TestGarminHandOff::pageGoneBeforeBaseCampClosedDoesNothing()
{
    useProduct(true, "24.2.0");
    m_platform->holdReports = true;
    auto *page = new CloseGarminPage;
    QTRY_COMPARE(m_platform->baseCampCloses, 1);
    delete page;
    m_platform->releaseHeldReports();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(m_platform->detailWrites, 0);
    QCOMPARE(m_pages, QList<PageId>());
}

void TestGarminHandOff::viewMapOnPCPageRoutes_data()
{
    QTest::addColumn<QString>("baseCamp");
    QTest::addColumn<QList<Button>>("answers");
    QTest::addColumn<PageId>("next");
    QTest::newRow("no") << "4.6.2" << QList{Button::Left} << PageId::MajorReleaseAvailablePage;
    QTest::newRow("yes, BaseCamp 4.6.2")
        << "4.6.2" << QList{Button::Right} << PageId::CloseGarminPage;
    QTest::newRow("yes, BaseCamp 4.6.1, skip")
        << "4.6.1" << QList{Button::Right, Button::Left} << PageId::MajorReleaseAvailablePage;
    QTest::newRow("yes, no BaseCamp, next")
        << "" << QList{Button::Right, Button::Right} << PageId::DownloadBaseCampPage;
}

void TestGarminHandOff::viewMapOnPCPageRoutes()
{
    QFETCH(QString, baseCamp);
    QFETCH(QList<Button>, answers);
    QFETCH(PageId, next);
    if (!baseCamp.isEmpty()) {
        QVERIFY(PeFileBuilder::writeExecutable(
            m_platform->nativePath("C:/Program Files (x86)/Garmin/BaseCamp/BaseCamp.exe"),
            QVersionNumber::fromString(baseCamp)));
    }
    buildRealPageOnlyFor(PageId::ViewMapOnPCPage);
    PopupAnswerer answerer;
    for (const Button answer : answers) {
        answerer.answer(answer);
    }

    Core::instance()->setCurrentPage(PageId::ViewMapOnPCPage);
    QTRY_COMPARE(m_pages.size(), 2);

    QCOMPARE(m_pages.last(), next);
    QCOMPARE(answerer.shownCount(), int(answers.size()));
    QCOMPARE(answerer.shown().first().header, QStringLiteral("VIEW MAP ON PC?"));
    if (answers.size() == 2) {
        QCOMPARE(answerer.shown().at(1).header, QStringLiteral("GARMIN BASECAMP REQUIRED"));
        QCOMPARE(answerer.shown().at(1).leftButton, QStringLiteral("SKIP"));
    }
}

void TestGarminHandOff::viewMapOnPCPageAnswerAfterTheWizardMovedOnDoesNothing()
{
    buildRealPageOnlyFor(PageId::ViewMapOnPCPage);
    PopupAnswerer answerer;
    // While the question is open, something else moves the wizard on; then the user answers.
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        if (answerer.openPopup()) {
            poll.stop();
            Core::instance()->setCurrentPage(PageId::ThankYouPage);
            answerer.answerOpen(Button::Right);
        }
    });
    poll.start(10);

    Core::instance()->setCurrentPage(PageId::ViewMapOnPCPage);
    QTRY_COMPARE(answerer.shownCount(), 1);
    QTRY_VERIFY(!answerer.openPopup());
    QCoreApplication::processEvents();
    QCOMPARE(m_pages, (QList<PageId>{PageId::ViewMapOnPCPage, PageId::ThankYouPage}));
}

void TestGarminHandOff::gateRoutes_data()
{
    QTest::addColumn<QString>("baseCamp");
    QTest::addColumn<QList<Button>>("answers");
    QTest::addColumn<PageId>("shown");
    QTest::newRow("BaseCamp 4.6.2.900")
        << "4.6.2.900" << QList<Button>() << PageId::CloseGarminPage;
    QTest::newRow("BaseCamp 4.6.1, back")
        << "4.6.1" << QList{Button::Left} << PageId::UpdateFirmwarePage;
    QTest::newRow("BaseCamp 4.6.1, next")
        << "4.6.1" << QList{Button::Right} << PageId::DownloadBaseCampPage;
}

// The versions come from the platform here, not from files.
void TestGarminHandOff::gateRoutes()
{
    QFETCH(QString, baseCamp);
    QFETCH(QList<Button>, answers);
    QFETCH(PageId, shown);
    const QString exe = m_platform->nativePath("C:/Program Files/Garmin/BaseCamp/BaseCamp.exe");
    QVERIFY(QDir().mkpath(QFileInfo(exe).absolutePath()) && QFile(exe).open(QIODevice::WriteOnly));
    m_platform->fileVersions.insert(exe, QVersionNumber::fromString(baseCamp));
    buildRealPageOnlyFor(std::nullopt);
    Core::instance()->setCurrentPage(PageId::UpdateFirmwarePage);
    PopupAnswerer answerer;
    for (const Button answer : answers) {
        answerer.answer(answer);
    }

    BaseCampGate::enter();

    QCOMPARE(Core::instance()->currentPage(), shown);
    QCOMPARE(answerer.shownCount(), int(answers.size()));
    // "≺ BACK" leaves the page that ran the gate as it was: no page is built.
    QCOMPARE(m_pages.size(), shown == PageId::UpdateFirmwarePage ? 1 : 2);
}

HALVORNSYNC_TEST_MAIN(TestGarminHandOff)
#include "tst_garminhandoff.moc"
