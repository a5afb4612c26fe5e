#include "FakePlatform.h"
#include "PageRecorder.h"
#include "PopupAnswerer.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "VendorServiceProcess.h"
#include "app/Core.h"
#include "app/PageFactory.h"
#include "download/FileDownload.h"
#include "maps/InstalledMaps.h"
#include "maps/MapInstaller.h"
#include "service/ProductInfo.h"

#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPushButton>

using Button = PopupAnswerer::Button;

namespace {
enum Setup
{
    Update,
    FolderInUse,        // the new South cannot be moved in, each time it is tried
    OldMapCannotReturn, // the move in of the new North fails, and its place is taken meanwhile
    NoMapForTheProduct, // the archive holds none of the product's families
    LeftAsideNoJournal, // an earlier install was cut short and its journal lost
    LeftAsideLinesLost, // the same, its journal without its line for the move
};

const QString north = QStringLiteral("HalvornTopoNorwayNorth");
const QString south = QStringLiteral("HalvornTopoNorwaySouth");

bool installMap(const QString &folder, int family, const QString &version)
{
    return TestFiles::write(Core::garminMapsFolder() + '/' + folder + "/Info.xml",
                            TestFiles::mapInfo(family, "Halvorn " + version));
}

// Each map's folder (by the path of its Info.xml) and version, sorted; the download left out.
QStringList mapsNow()
{
    const QString maps = QFileInfo(Core::garminMapsFolder()).canonicalFilePath();
    QStringList found;
    for (const QString &info : InstalledMaps::findInfoFiles(maps)) {
        const QString folder = QDir(maps).relativeFilePath(QFileInfo(info).path());
        if (!folder.startsWith(u"HalvornSyncDownloads")) {
            found.append(folder + ' ' + Core::readMapVersion(info).toString());
        }
    }
    found.sort();
    return found;
}

// An install of HalvornOther (family 90) cut short once the old one is set aside.
void leaveOtherSetAside()
{
    const QString maps = Core::garminMapsFolder();
    QVERIFY(TestFiles::write(InstalledMaps::downloadFolder(maps) + "/HalvornOther/Info.xml",
                             TestFiles::mapInfo(90, "Halvorn 6.0")));
    int moves = 0;
    MapInstaller::setStepHook([&moves](const QString &, const QString &) {
        return ++moves == 2 ? MapInstaller::Step::Crash : MapInstaller::Step::Go;
    });
    MapInstaller(maps).install(MapInstallPlan::read(maps, {90}, {}, false));
    MapInstaller::setStepHook({});
    QVERIFY(!QFileInfo::exists(maps + "/HalvornOther"));
}
} // namespace

// DownloadMapPCPage from its download to its report, against the stand-in vendor service: what the
// user is asked and told, what is left in the maps folder, and the computer kept awake.
class TestMapInstallPage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void install_data();
    void install();
    void startUpNamesWhatItCouldNotPutBack();

private:
    VendorServiceProcess m_service;
    FakePlatform m_platform;
};

void TestMapInstallPage::initTestCase()
{
    QVERIFY2(m_service.start(), qPrintable(m_service.errorString()));
    m_service.useAsServiceAddress();
    FileDownload::setTiming({20, 300, 300});
}

void TestMapInstallPage::init()
{
    m_service.clearRequests();
    m_platform.sleepsAllowed = 0;
    QVERIFY(installMap(north, 4660, "24.1"));
}

void TestMapInstallPage::cleanup()
{
    MapInstaller::setStepHook({});
    QDir(Core::garminMapsFolder()).removeRecursively();
}

void TestMapInstallPage::install_data()
{
    QTest::addColumn<int>("setup");
    QTest::addColumn<QList<Button>>("answers");
    QTest::addColumn<QStringList>("told"); // a part of each pop-up's text, in order
    QTest::addColumn<bool>("unchanged");   // whether they say the installed map is unchanged
    QTest::addColumn<PageId>("next");
    QTest::addColumn<QStringList>("maps");
    const QStringList updated{north + " 24.2.0", south + " 24.2.0"};
    const QString inUse = "the folder <b>" + south + "</b> could not be moved";
    const auto row = [](const char *name, Setup setup, const QList<Button> &answers,
                        const QStringList &told, bool unchanged, PageId next,
                        const QStringList &maps) {
        QTest::newRow(name) << int(setup) << answers << told << unchanged << next << maps;
    };
    row("update", Update, {}, {}, false, PageId::InformNewPCVersionPage, updated);
    row("folder in use: YES installs again, NO leaves", FolderInUse, {Button::Right, Button::Left},
        {inUse, inUse}, true, PageId::MajorReleaseAvailablePage, {north + " 24.1"});
    row("the old map cannot go back: named, not called unchanged", OldMapCannotReturn,
        {Button::Right}, {"HalvornSyncSetAside/" + north}, false, PageId::MajorReleaseAvailablePage,
        {"HalvornSyncSetAside/" + north + " 24.1"});
    row("no map for the product: nothing withdrawn, asked as for a corrupt map", NoMapForTheProduct,
        {Button::Left}, {"holds no map for this product"}, false, PageId::MajorReleaseAvailablePage,
        {north + " 24.1", "HalvornWithdrawn 23.0"});
    row("set aside at the start, journal lost: put back first", LeftAsideNoJournal, {}, {}, false,
        PageId::InformNewPCVersionPage, QStringList{"HalvornOther 5.0"} + updated);
    row("set aside at the start, its line lost: put back first", LeftAsideLinesLost, {}, {}, false,
        PageId::InformNewPCVersionPage, QStringList{"HalvornOther 5.0"} + updated);
}

void TestMapInstallPage::install()
{
    QFETCH(int, setup);
    QFETCH(QList<Button>, answers);
    const QString maps = Core::garminMapsFolder();
    std::unique_ptr<ProductInfo> product = m_service.product(QStringLiteral("HALV-PC-0001"));
    QVERIFY(product);
    const QUrl mapUrl = product->pcSubProduct.map;
    if (setup == NoMapForTheProduct) {
        product->isPcFormat = false;
        product->pcSubProduct.fids = {9999};
        product->pcSubProduct.removeFids = {4600};
        QVERIFY(installMap("HalvornWithdrawn", 4600, "23.0"));
    }
    if (setup == LeftAsideNoJournal || setup == LeftAsideLinesLost) {
        QVERIFY(installMap("HalvornOther", 90, "5.0"));
        leaveOtherSetAside();
        const QString journal = InstalledMaps::downloadFolder(maps) + ".journal";
        QVERIFY(setup == LeftAsideNoJournal ? QFile::remove(journal)
                                            : TestFiles::dropLines(journal, "[\"aside\""));
    }
    Core::instance()->setProductInfo(product.release());

    // Every move of the install, with whether the computer was kept awake all along until then.
    int moves = 0;
    bool awakeThroughout = true;
    MapInstaller::setStepHook([&](const QString &from, const QString &to) {
        awakeThroughout =
            awakeThroughout && m_platform.keptAwake && (moves > 0 || m_platform.sleepsAllowed == 0);
        ++moves;
        if (setup == FolderInUse && from.endsWith('/' + south)) {
            return MapInstaller::Step::Fail;
        }
        if (setup == OldMapCannotReturn && to.endsWith('/' + north) && !to.contains(u"SetAside")) {
            // Another program takes the old map's place.
            return TestFiles::write(to + "/notes.txt", "theirs") ? MapInstaller::Step::Fail
                                                                 : MapInstaller::Step::Go;
        }
        return MapInstaller::Step::Go;
    });
    int mapDownloads = 0;
    QObject counting;
    connect(Core::instance()->networkManager(), &QNetworkAccessManager::finished, &counting,
            [&](QNetworkReply *reply) {
                mapDownloads += reply->operation() == QNetworkAccessManager::GetOperation &&
                                reply->url() == mapUrl;
            });
    PopupAnswerer answerer;
    for (const Button answer : answers) {
        answerer.answer(answer);
    }
    answerer.answerUnexpectedWith(Button::Left);
    PageRecorder recorder;

    std::unique_ptr<QWidget> page(createPage(PageId::DownloadMapPCPage));
    QTRY_COMPARE_WITH_TIMEOUT(recorder.pages.size(), 1, 20000);
    QTEST(recorder.pages.first(), "next");
    QCOMPARE(answerer.unexpectedCount(), 0);
    QFETCH(QStringList, told);
    QFETCH(bool, unchanged);
    QCOMPARE(answerer.shownCount(), told.size());
    for (qsizetype i = 0; i < told.size(); ++i) {
        const QString text = answerer.shown().at(i).text;
        QVERIFY2(text.contains(told.at(i)), qPrintable(text));
        QCOMPARE(text.contains(u"Your installed map is unchanged."), unchanged);
    }
    // Nothing is reported unless installed, and a new try installs from what was downloaded.
    const bool reported = recorder.pages.first() == PageId::InformNewPCVersionPage;
    QCOMPARE(m_service.requests(QStringLiteral("update_info_pc")).size(), reported ? 1 : 0);
    QCOMPARE(mapDownloads, 1);
    QTEST(mapsNow(), "maps");
    QVERIFY(awakeThroughout);
    QVERIFY(!m_platform.keptAwake);
    page.reset();
    QVERIFY(!m_platform.keptAwake);
}

// What the first page's recovery cannot put back is named before the user goes on.
void TestMapInstallPage::startUpNamesWhatItCouldNotPutBack()
{
    QVERIFY(installMap("HalvornOther", 90, "5.0"));
    leaveOtherSetAside();
    QVERIFY(installMap("HalvornOther", 91, "1.0")); // someone else's, in its place
    PopupAnswerer answerer;
    answerer.answerUnexpectedWith(Button::Right);
    PageRecorder recorder;

    std::unique_ptr<QWidget> page(createPage(PageId::ChooseLanguagePage));
    page->findChild<QPushButton *>(QStringLiteral("EnglishButton"))->click();
    QTRY_COMPARE(recorder.pages.size(), 1);
    QCOMPARE(answerer.shownCount(), 1);
    QVERIFY(answerer.shown().first().text.contains(
        QDir::toNativeSeparators(InstalledMaps::setAsideFolder(
            QFileInfo(Core::garminMapsFolder()).canonicalFilePath())) +
        "/HalvornOther"));
}

HALVORNSYNC_TEST_MAIN(TestMapInstallPage)
#include "tst_mapinstallpage.moc"
