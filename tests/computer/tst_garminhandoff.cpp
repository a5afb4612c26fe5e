#include "FakePlatform.h"
#include "PopupAnswerer.h"
#include "TestMain.h"
#include "app/Core.h"
#include "app/MainWindow.h"
#include "app/PageFactory.h"
#include "pages/computer/BaseCampGate.h"
#include "pages/computer/CloseGarminPage.h"
#include "service/ProductInfo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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
    void pageGoneBeforeBaseCampClosedDoesNothing();
    void baseCampQuestions_data();
    void baseCampQuestions();

private:
    void useProduct(bool isPcFormat); // latest version 24.2.0
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

void TestGarminHandOff::useProduct(bool isPcFormat)
{
    auto *product = new ProductInfo;
    product->isPcFormat = isPcFormat;
    product->pcSubProduct.fids = {4410, 4411};
    product->latestVersion = QVersionNumber(24, 2, 0);
    Core::instance()->setProductInfo(product);
}

void TestGarminHandOff::buildRealPageOnlyFor(std::optional<PageId> real)
{
    Core::instance()->setPageFactory([this, real](PageId id) -> QWidget * {
        m_pages.append(id);
        if (id == real) {
            return createPage(id);
        }
        // The pages it leads to are only named.
        auto *page = new QWidget;
        page->setObjectName(pageClassName(id));
        return page;
    });
}

void TestGarminHandOff::closeGarminPageRoutes_data()
{
    QTest::addColumn<bool>("isPcFormat");
    QTest::addColumn<QStringList>("maps");
    QTest::addColumn<QList<Button>>("answers");
    QTest::addColumn<PageId>("next");
    QTest::addColumn<QString>("property");
    const QStringList topo241{"HalvornTopo=4411=Halvorn Topo 24.1"};
    const QString other = "HalvornRoads=9999=Halvorn Roads 1.0";
    using P = PageId;
    QTest::newRow("computer, update") << true << QStringList{other, topo241.first()}
                                      << QList<Button>() << P::PCUpdatesAvailablePage << "24.1";
    QTest::newRow("computer, no installed copy")
        << true << QStringList{other, "HalvornSyncDownloads/HalvornTopo=4410=Topo 1.0"}
        << QList<Button>() << P::DownloadMapPCPage << kUntouched;
    QTest::newRow("card, no") << false << topo241 << QList{Button::Left}
                              << P::MajorReleaseAvailablePage << kUntouched;
}

void TestGarminHandOff::closeGarminPageRoutes()
{
    QFETCH(bool, isPcFormat);
    QFETCH(QStringList, maps);
    QFETCH(QList<Button>, answers);
    QFETCH(PageId, next);
    QFETCH(QString, property);
    for (const QString &map : maps) {
        QVERIFY(installMap(map));
    }
    useProduct(isPcFormat);
    PopupAnswerer answerer;
    for (const Button answer : answers) {
        answerer.answer(answer);
    }

    Core::instance()->setCurrentPage(PageId::CloseGarminPage);
    QTRY_COMPARE(m_pages.size(), 2);

    QCOMPARE(m_pages.last(), next);
    QCOMPARE(installedVersion(), property);
    QCOMPARE(m_platform->calls, QStringList({"closeBaseCamp", "writeBaseCampDetail"}));
    QCOMPARE(answerer.shownCount(), int(answers.size()));
    if (!answers.isEmpty()) {
        QCOMPARE(answerer.shown().first().header, QStringLiteral("INSTALL MAP ON PC?"));
    }
}

// The window may be closed while BaseCamp is being closed: the late report finds nothing to
// act on.
void TestGarminHandOff::pageGoneBeforeBaseCampClosedDoesNothing()
{
    useProduct(true);
    m_platform->holdReports = true;
    auto *page = new CloseGarminPage;
    QTRY_COMPARE(m_platform->calls, QStringList{"closeBaseCamp"});
    delete page;
    m_platform->releaseHeldReports();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(m_platform->calls, QStringList{"closeBaseCamp"});
    QCOMPARE(m_pages, QList<PageId>());
}

void TestGarminHandOff::baseCampQuestions_data()
{
    QTest::addColumn<PageId>("page"); // UpdateFirmwarePage runs the gate
    QTest::addColumn<QString>("baseCamp");
    QTest::addColumn<QList<Button>>("answers");
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<QList<PageId>>("pages");
    // The other answers and versions are walked by the page graph test.
    using P = PageId;
    const P view = P::ViewMapOnPCPage;
    const P gate = P::UpdateFirmwarePage;
    const QString viewMap = "VIEW MAP ON PC?";
    const QString required = "GARMIN BASECAMP REQUIRED";
    QTest::newRow("view, yes, BaseCamp 4.6.1, skip")
        << view << "4.6.1" << QList{Button::Right, Button::Left} << QStringList{viewMap, required}
        << QList{view, P::MajorReleaseAvailablePage};
    QTest::newRow("gate, BaseCamp 4.6.2.900") << gate << "4.6.2.900" << QList<Button>()
                                              << QStringList() << QList{gate, P::CloseGarminPage};
}

// BaseCamp's version comes from the platform, not from the file.
void TestGarminHandOff::baseCampQuestions()
{
    QFETCH(PageId, page);
    QFETCH(QString, baseCamp);
    QFETCH(QList<Button>, answers);
    QFETCH(QStringList, questions);
    QFETCH(QList<PageId>, pages);
    if (!baseCamp.isEmpty()) {
        const QString exe = m_platform->nativePath("C:/Program Files/Garmin/BaseCamp/BaseCamp.exe");
        QVERIFY(QDir().mkpath(QFileInfo(exe).absolutePath()));
        QVERIFY(QFile(exe).open(QIODevice::WriteOnly));
        m_platform->fileVersions.insert(exe, QVersionNumber::fromString(baseCamp));
    }
    const bool gate = page == PageId::UpdateFirmwarePage;
    buildRealPageOnlyFor(gate ? std::nullopt : std::optional(page));
    PopupAnswerer answerer;
    for (const Button answer : answers) {
        answerer.answer(answer);
    }

    Core::instance()->setCurrentPage(page);
    if (gate) {
        BaseCampGate::enter();
    } else {
        QTRY_COMPARE(m_pages.size(), 2);
    }

    QCOMPARE(m_pages, pages);
    QStringList asked;
    for (const PopupAnswerer::Shown &popup : answerer.shown()) {
        asked << popup.header;
    }
    QCOMPARE(asked, questions);
}

HALVORNSYNC_TEST_MAIN(TestGarminHandOff)
#include "tst_garminhandoff.moc"
