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
#include "pages/computer/ViewMapOnPCPage.h"
#include "service/ProductInfo.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

using Button = PopupAnswerer::Button;

namespace {
const char *const kProperty = "PC_MAP_VERSION";
const QString kUntouched = QStringLiteral("untouched");

// What the code under test had asked of the platform when each pop-up appeared, and whether the
// pop-up showed its download-time warning.
class PopupWatcher : public QObject
{
public:
    struct Seen
    {
        QStringList platformCalls;
        bool durationWarning = false;
    };

    explicit PopupWatcher(const FakePlatform &platform)
        : m_platform(platform)
    {
        qApp->installEventFilter(this);
    }
    ~PopupWatcher() override { qApp->removeEventFilter(this); }

    QList<Seen> seen;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Show && object->inherits("PopupDialog")) {
            auto *info = object->findChild<QLabel *>(QStringLiteral("InfoLabel"));
            seen.append({m_platform.calls, info && !info->isHidden()});
        }
        return false;
    }

private:
    const FakePlatform &m_platform;
};

bool writeInfoXml(const QString &folder, const QString &id, const QString &name)
{
    const QString path = Core::garminMapsFolder() + QLatin1Char('/') + folder + "/Info.xml";
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    const QByteArray xml = QStringLiteral("<MapProduct><ID>%1</ID><SubProduct><Name>%2</Name>"
                                          "</SubProduct></MapProduct>")
                               .arg(id)
                               .arg(name)
                               .toUtf8();
    return file.open(QIODevice::WriteOnly) && file.write(xml) == xml.size();
}

// A map installed in the Garmin maps folder: folder name, ID text, Name text.
struct InstalledMap
{
    QString folder;
    QString id;
    QString name;
};
} // namespace

Q_DECLARE_METATYPE(InstalledMap)
Q_DECLARE_METATYPE(QList<InstalledMap>)
Q_DECLARE_METATYPE(QList<Button>)

class TestGarminHandOff : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void factoryBuildsTheHandOffPages();
    void closeGarminPageRoutes_data();
    void closeGarminPageRoutes();
    void firstMatchingMapIsTheInstalledCopy();
    void everyPassClosesBaseCampAndWritesDetailAgain();
    void pageGoneBeforeBaseCampClosedDoesNothing();
    void withoutProductRecordNothingCrashes();
    void viewMapOnPCPageRoutes_data();
    void viewMapOnPCPageRoutes();
    void gateRoutes_data();
    void gateRoutes();

private:
    void useProduct(bool isPcFormat, const QList<qint32> &fids, const QString &latest);
    void installBaseCamp(const QString &version);
    // Pages are built by the real factory only for `real`; every other page is a placeholder,
    // so a test stops at the page after the one it is about.
    void buildRealPagesOnlyFor(std::optional<PageId> real);
    QVariant installedVersionProperty() const { return m_window->property(kProperty); }

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
    m_pages.clear();
    buildRealPagesOnlyFor(PageId::CloseGarminPage);

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
}

void TestGarminHandOff::useProduct(bool isPcFormat, const QList<qint32> &fids,
                                   const QString &latest)
{
    auto *product = new ProductInfo;
    product->isPcFormat = isPcFormat;
    product->pcSubProduct.fids = fids;
    product->latestVersion = QVersionNumber::fromString(latest);
    Core::instance()->setProductInfo(product);
}

void TestGarminHandOff::installBaseCamp(const QString &version)
{
    if (!version.isEmpty()) {
        QVERIFY(PeFileBuilder::writeExecutable(
            m_platform->nativePath("C:/Program Files (x86)/Garmin/BaseCamp/BaseCamp.exe"),
            QVersionNumber::fromString(version)));
    }
}

void TestGarminHandOff::buildRealPagesOnlyFor(std::optional<PageId> real)
{
    Core::instance()->setPageFactory([this, real](PageId id) -> QWidget * {
        m_pages.append(id);
        return id == real ? createPage(id) : new PendingPage(id);
    });
}

void TestGarminHandOff::factoryBuildsTheHandOffPages()
{
    std::unique_ptr<QWidget> close(createPage(PageId::CloseGarminPage));
    QVERIFY(qobject_cast<CloseGarminPage *>(close.get()));
    QCOMPARE(close->objectName(), QStringLiteral("CloseGarminPage"));
    auto *movie = close->findChild<QLabel *>(QStringLiteral("MovieLabel"));
    QVERIFY(movie && movie->movie());
    QVERIFY(movie->isHidden());

    std::unique_ptr<QWidget> view(createPage(PageId::ViewMapOnPCPage));
    QVERIFY(qobject_cast<ViewMapOnPCPage *>(view.get()));
    QCOMPARE(view->objectName(), QStringLiteral("ViewMapOnPCPage"));
}

void TestGarminHandOff::closeGarminPageRoutes_data()
{
    QTest::addColumn<bool>("isPcFormat");
    QTest::addColumn<QList<InstalledMap>>("maps");
    QTest::addColumn<QString>("latest");
    QTest::addColumn<QList<Button>>("answers");
    QTest::addColumn<PageId>("next");
    QTest::addColumn<QString>("property");

    const InstalledMap topo241{"HalvornTopo", "4411", "Halvorn Topo 24.1"};
    const InstalledMap other{"HalvornRoads", "9999", "Halvorn Roads 1.0"};
    using P = PageId;
    QTest::newRow("computer, 24.1 installed, 24.2.0 out")
        << true << QList{topo241, other} << "24.2.0" << QList<Button>() << P::PCUpdatesAvailablePage
        << "24.1";
    QTest::newRow("computer, 24.1 against 24.1.0 is out of date")
        << true << QList{topo241} << "24.1.0" << QList<Button>() << P::PCUpdatesAvailablePage
        << "24.1";
    QTest::newRow("computer, up to date")
        << true << QList<InstalledMap>{{"HalvornTopo", "4410", "Halvorn Topo 24.1.0"}} << "24.1.0"
        << QList<Button>() << P::NoPCUpdatesAvailablePage << "24.1.0";
    QTest::newRow("computer, newer than the latest")
        << true << QList<InstalledMap>{{"HalvornTopo", "4410", "Topo 25.0.1"}} << "24.1.0"
        << QList<Button>() << P::NoPCUpdatesAvailablePage << "25.0.1";
    QTest::newRow("computer, name without digits")
        << true << QList<InstalledMap>{{"HalvornTopo", "4410", "Topo"}} << "24.1.0"
        << QList<Button>() << P::NoPCUpdatesAvailablePage << "";
    QTest::newRow("computer, only other maps")
        << true << QList{other} << "24.1.0" << QList<Button>() << P::DownloadMapPCPage
        << kUntouched;
    QTest::newRow("computer, no maps") << true << QList<InstalledMap>() << "24.1.0"
                                       << QList<Button>() << P::DownloadMapPCPage << kUntouched;
    QTest::newRow("computer, copy only in the download area")
        << true << QList<InstalledMap>{{"HalvornSyncDownloads/HalvornTopo", "4410", "Topo 1.0"}}
        << "24.1.0" << QList<Button>() << P::DownloadMapPCPage << kUntouched;
    QTest::newRow("computer, unreadable ID")
        << true << QList<InstalledMap>{{"HalvornTopo", "4410a", "Topo 1.0"}} << "24.1.0"
        << QList<Button>() << P::DownloadMapPCPage << kUntouched;
    QTest::newRow("card, no to the computer")
        << false << QList{topo241} << "24.2.0" << QList{Button::Left}
        << P::MajorReleaseAvailablePage << kUntouched;
    QTest::newRow("card, yes, update")
        << false << QList{topo241} << "24.2.0" << QList{Button::Right} << P::PCUpdatesAvailablePage
        << "24.1";
    QTest::newRow("card, yes, first installation")
        << false << QList{other} << "24.2.0" << QList{Button::Right} << P::DownloadMapPCPage
        << kUntouched;
}

void TestGarminHandOff::closeGarminPageRoutes()
{
    QFETCH(bool, isPcFormat);
    QFETCH(QList<InstalledMap>, maps);
    QFETCH(QString, latest);
    QFETCH(QList<Button>, answers);
    QFETCH(PageId, next);
    QFETCH(QString, property);
    for (const InstalledMap &map : maps) {
        QVERIFY(writeInfoXml(map.folder, map.id, map.name));
    }
    useProduct(isPcFormat, {4410, 4411}, latest);
    PopupAnswerer answerer;
    for (const Button answer : answers) {
        answerer.answer(answer);
    }
    PopupWatcher watcher(*m_platform);

    Core::instance()->setCurrentPage(PageId::CloseGarminPage);
    QTRY_COMPARE(m_pages.size(), 2);

    QCOMPARE(m_pages.last(), next);
    QCOMPARE(installedVersionProperty().toString(), property);
    const QStringList baseCampSteps{"closeBaseCamp", "writeBaseCampDetail"};
    QCOMPARE(m_platform->calls, baseCampSteps);
    QCOMPARE(answerer.shownCount(), int(answers.size()));
    if (!answers.isEmpty()) {
        const PopupAnswerer::Shown shown = answerer.shown().first();
        QCOMPARE(shown.header, QStringLiteral("INSTALL MAP ON PC?"));
        QCOMPARE(shown.text,
                 QStringLiteral("Would you like to install the map on your PC without having to "
                                "insert the preprogrammed card every time?"));
        QCOMPARE(shown.leftButton, QStringLiteral("NO"));
        QCOMPARE(shown.rightButton, QStringLiteral("YES"));
        // Asked only once BaseCamp is closed and its setting written.
        QCOMPARE(watcher.seen.first().platformCalls, baseCampSteps);
        QVERIFY(watcher.seen.first().durationWarning);
    }
}

// Which of two matching copies comes first depends on the file system; the first one found is
// the installed copy, whatever its version.
void TestGarminHandOff::firstMatchingMapIsTheInstalledCopy()
{
    QVERIFY(writeInfoXml("HalvornTopoA", "4410", "Topo 24.1"));
    QVERIFY(writeInfoXml("HalvornTopoB", "4411", "Topo 24.3"));
    const QStringList order = Core::installedMapInfoFiles();
    QCOMPARE(order.size(), 2);
    const QString first = Core::readMapVersion(order.first()).toString();
    useProduct(true, {4410, 4411}, "24.2.0");

    Core::instance()->setCurrentPage(PageId::CloseGarminPage);
    QTRY_COMPARE(m_pages.size(), 2);

    QCOMPARE(installedVersionProperty().toString(), first);
    QCOMPARE(m_pages.last(), first == QLatin1String("24.1") ? PageId::PCUpdatesAvailablePage
                                                            : PageId::NoPCUpdatesAvailablePage);
}

void TestGarminHandOff::everyPassClosesBaseCampAndWritesDetailAgain()
{
    QVERIFY(writeInfoXml("HalvornTopo", "4410", "Topo 24.1"));
    useProduct(true, {4410}, "24.2.0");
    Core::instance()->setCurrentPage(PageId::CloseGarminPage);
    QTRY_COMPARE(m_pages.size(), 2);
    QCOMPARE(installedVersionProperty().toString(), QStringLiteral("24.1"));

    // The map was updated meanwhile; the next product's pass overwrites the version.
    QVERIFY(writeInfoXml("HalvornTopo", "4410", "Topo 24.2.0"));
    Core::instance()->setCurrentPage(PageId::CloseGarminPage);
    QTRY_COMPARE(m_pages.size(), 4);
    QCOMPARE(m_pages.last(), PageId::NoPCUpdatesAvailablePage);
    QCOMPARE(installedVersionProperty().toString(), QStringLiteral("24.2.0"));
    QCOMPARE(m_platform->baseCampCloses, 2);
    QCOMPARE(m_platform->detailWrites, 2);
}

// The window may be closed while BaseCamp is being closed: the late report must find nothing to
// act on.
void TestGarminHandOff::pageGoneBeforeBaseCampClosedDoesNothing()
{
    useProduct(true, {4410}, "24.2.0");
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

void TestGarminHandOff::withoutProductRecordNothingCrashes()
{
    QVERIFY(writeInfoXml("HalvornTopo", "4410", "Topo 24.1"));
    PopupAnswerer answerer;
    answerer.answer(Button::Right);
    Core::instance()->setCurrentPage(PageId::CloseGarminPage);
    QTRY_COMPARE(m_pages.size(), 2);
    QCOMPARE(m_pages.last(), PageId::DownloadMapPCPage);
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
    QTest::newRow("yes, BaseCamp 4.6.1, next")
        << "4.6.1" << QList{Button::Right, Button::Right} << PageId::DownloadBaseCampPage;
    QTest::newRow("yes, no BaseCamp, next")
        << "" << QList{Button::Right, Button::Right} << PageId::DownloadBaseCampPage;
}

void TestGarminHandOff::viewMapOnPCPageRoutes()
{
    QFETCH(QString, baseCamp);
    QFETCH(QList<Button>, answers);
    QFETCH(PageId, next);
    installBaseCamp(baseCamp);
    buildRealPagesOnlyFor(PageId::ViewMapOnPCPage);
    PopupAnswerer answerer;
    for (const Button answer : answers) {
        answerer.answer(answer);
    }

    Core::instance()->setCurrentPage(PageId::ViewMapOnPCPage);
    QTRY_COMPARE(m_pages.size(), 2);

    QCOMPARE(m_pages.last(), next);
    QCOMPARE(answerer.shownCount(), int(answers.size()));
    QCOMPARE(answerer.shown().first().header, QStringLiteral("VIEW MAP ON PC?"));
    QCOMPARE(answerer.shown().first().text,
             QStringLiteral(
                 "Would you like to be able to view your preprogrammed card on your PC in Garmin "
                 "BaseCamp?"));
    QCOMPARE(answerer.shown().first().leftButton, QStringLiteral("NO"));
    QCOMPARE(answerer.shown().first().rightButton, QStringLiteral("YES"));
    if (answers.size() == 2) {
        const PopupAnswerer::Shown required = answerer.shown().at(1);
        QCOMPARE(required.header, QStringLiteral("GARMIN BASECAMP REQUIRED"));
        QCOMPARE(required.text, QStringLiteral("Garmin BaseCamp (version 4.6.2 or higher) must be "
                                               "installed on your PC before you can install your "
                                               "map."));
        QCOMPARE(required.leftButton, QStringLiteral("SKIP"));
        QCOMPARE(required.rightButton, QStringLiteral("NEXT ≻"));
    }
    QCOMPARE(m_platform->calls, QStringList());
}

void TestGarminHandOff::gateRoutes_data()
{
    QTest::addColumn<QString>("baseCamp");
    QTest::addColumn<QList<Button>>("answers");
    QTest::addColumn<PageId>("shown");
    QTest::newRow("BaseCamp 4.6.2") << "4.6.2" << QList<Button>() << PageId::CloseGarminPage;
    QTest::newRow("BaseCamp 4.6.2.900")
        << "4.6.2.900" << QList<Button>() << PageId::CloseGarminPage;
    QTest::newRow("BaseCamp 4.6.1, back")
        << "4.6.1" << QList{Button::Left} << PageId::UpdateFirmwarePage;
    QTest::newRow("BaseCamp 4.6.1, next")
        << "4.6.1" << QList{Button::Right} << PageId::DownloadBaseCampPage;
    QTest::newRow("no BaseCamp, next")
        << "" << QList{Button::Right} << PageId::DownloadBaseCampPage;
}

void TestGarminHandOff::gateRoutes()
{
    QFETCH(QString, baseCamp);
    QFETCH(QList<Button>, answers);
    QFETCH(PageId, shown);
    installBaseCamp(baseCamp);
    buildRealPagesOnlyFor(std::nullopt);
    Core::instance()->setCurrentPage(PageId::UpdateFirmwarePage);
    QWidget *firmwarePage = m_window->findChild<QWidget *>(QStringLiteral("UpdateFirmwarePage"));
    PopupAnswerer answerer;
    for (const Button answer : answers) {
        answerer.answer(answer);
    }

    BaseCampGate::enter();

    QCOMPARE(Core::instance()->currentPage(), shown);
    QCOMPARE(answerer.shownCount(), int(answers.size()));
    if (!answers.isEmpty()) {
        QCOMPARE(answerer.shown().first().header, QStringLiteral("GARMIN BASECAMP REQUIRED"));
        QCOMPARE(answerer.shown().first().leftButton, QStringLiteral("≺ BACK"));
        QCOMPARE(answerer.shown().first().rightButton, QStringLiteral("NEXT ≻"));
    }
    if (shown == PageId::UpdateFirmwarePage) {
        // Left as it was: the same page object, no new page built.
        QCOMPARE(m_window->findChild<QWidget *>(QStringLiteral("UpdateFirmwarePage")),
                 firmwarePage);
        QCOMPARE(m_pages, QList<PageId>{PageId::UpdateFirmwarePage});
    }
}

HALVORNSYNC_TEST_MAIN(TestGarminHandOff)
#include "tst_garminhandoff.moc"
