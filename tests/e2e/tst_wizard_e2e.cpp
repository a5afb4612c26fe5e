#include "FakePlatform.h"
#include "PopupAnswerer.h"
#include "RouteWalker.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "VendorServiceProcess.h"
#include "app/Core.h"
#include "app/LanguageChoice.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "download/DownloadCache.h"
#include "download/FileDownload.h"
#include "maps/CardImage.h"
#include "maps/InstalledMaps.h"
#include "service/ProductInfo.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>

// The real wizard, driven by clicks from its first page, against the stand-in vendor service.
class TestWizardEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void languageChoiceReachesTheProductStep_data();
    void languageChoiceReachesTheProductStep();
    void computerMapIsInstalledAndReported();
    void faultyMapDownloadsAskToTryAgain_data();
    void faultyMapDownloadsAskToTryAgain();
    void cardsOneAfterTheOther_data();
    void cardsOneAfterTheOther();
    void baseCampAndGpsDataAreFetched();

private:
    QWidget *page() const { return m_walker->currentPage(); }
    QString text(const char *name) const;
    // Walks `steps`, with their answers to the pop-ups; where the wizard went astray.
    QString walk(const QList<RouteStep> &steps) { return m_walker->walk(steps); }

    VendorServiceProcess m_service;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<PopupAnswerer> m_answerer;
    std::unique_ptr<RouteWalker> m_walker;
};

namespace {
// From the language page, with `serial`, past the firmware notice; `answers` to the pop-ups after.
QList<RouteStep> start(const QString &serial, const QList<RouteAnswer> &answers = {})
{
    return {{"ChooseLanguagePage", "EnglishButton"},
            {"HighSpeedConnectionRequiredPage", "NextButton", {{.text = serial}}},
            {"UpdateFirmwarePage", "NextButton", answers}};
}
} // namespace

void TestWizardEndToEnd::initTestCase()
{
    Startup::applyLook(*qApp);
    FileDownload::setTiming({20, 300, 300});
    QVERIFY2(m_service.start(), qPrintable(m_service.errorString()));
    m_service.useAsServiceAddress();
}

void TestWizardEndToEnd::init()
{
    m_service.clearRequests();
    m_platform = std::make_unique<FakePlatform>();
    QVERIFY(m_platform->setBaseCamp(QVersionNumber(4, 6, 2)));
    m_window = std::make_unique<MainWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_answerer = std::make_unique<PopupAnswerer>();
    m_answerer->answerUnexpectedWith(PopupAnswerer::Button::Left);
    // Long enough for a map's download and install; only a walk that went astray waits this long.
    m_walker = std::make_unique<RouteWalker>(m_window.get(), 20000);
    m_walker->onPageReached = [this](const RouteStep &step) {
        m_answerer->expect(step.answers);
    };
}

void TestWizardEndToEnd::cleanup()
{
    m_walker.reset();
    m_answerer.reset();
    m_window.reset();
    m_platform.reset();
    QDir(Core::garminMapsFolder()).removeRecursively();
    LanguageChoice::apply(QStringLiteral("en"));
}

QString TestWizardEndToEnd::text(const char *name) const
{
    if (auto *label = page()->findChild<QLabel *>(QLatin1String(name))) {
        return label->text();
    }
    if (auto *button = page()->findChild<QPushButton *>(QLatin1String(name))) {
        return button->text();
    }
    return QString();
}

void TestWizardEndToEnd::languageChoiceReachesTheProductStep_data()
{
    QTest::addColumn<QString>("languageButton");
    QTest::addColumn<QString>("installed");  // a folder in the Garmin maps folder
    QTest::addColumn<bool>("mapsInstalled"); // of the vendor, in any letter case
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QString>("next");
    QTest::addColumn<QString>("serialHeader");

    QTest::newRow("French, maps installed") << "FrenchButton"
                                            << "halvorntoponorwaynorth" << true << "FR"
                                            << "connexion Internet haut débit"
                                            << "SUIVANT ≻"
                                            << "NUMÉRO DE SÉRIE DU PRODUIT";
    QTest::newRow("English, another maker's map") << "EnglishButton"
                                                  << "TopoEurope" << false << "EN"
                                                  << "high speed Internet connection"
                                                  << "NEXT ≻"
                                                  << "PRODUCT SERIAL NUMBER";
}

void TestWizardEndToEnd::languageChoiceReachesTheProductStep()
{
    QFETCH(QString, languageButton);
    QFETCH(QString, installed);
    QFETCH(bool, mapsInstalled);
    QFETCH(QString, language);
    QFETCH(QString, warning);
    QFETCH(QString, next);
    QFETCH(QString, serialHeader);
    QVERIFY(QDir(Core::garminMapsFolder()).mkpath(installed));

    QList<RouteStep> steps{{"ChooseLanguagePage", languageButton}};
    if (mapsInstalled) {
        steps.append(RouteStep{"InstallUpdateUninstallPage", "InstallUpdateButton"});
    }
    QCOMPARE(walk(steps + QList<RouteStep>{{"HighSpeedConnectionRequiredPage"}}), QString());
    QVERIFY2(text("label_2").contains(warning), qPrintable(text("label_2")));
    QCOMPARE(text("NextButton"), next);

    QCOMPARE(walk({{"HighSpeedConnectionRequiredPage", "NextButton", {{.text = "HALV-PC-0001"}}},
                   {"UpdateFirmwarePage"}}),
             QString());
    QCOMPARE(m_answerer->serialHeaders(), QStringList{serialHeader});
    QCOMPARE(text("NextButton"), next);
    QVERIFY(Core::instance()->productInfo());
    QCOMPARE(Core::instance()->productInfo()->productSerial, QStringLiteral("HALV-PC-0001"));

    const QList<QJsonObject> requests = m_service.requests(QStringLiteral("get_info"));
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests.first().value(QStringLiteral("serial_number")).toString(),
             QStringLiteral("HALV-PC-0001"));
    QCOMPARE(requests.first().value(QStringLiteral("language")).toString(), language);
}

// From the language page to the new version's page, by clicking, with an older copy installed.
void TestWizardEndToEnd::computerMapIsInstalledAndReported()
{
    const QString maps = Core::garminMapsFolder();
    const QString info = maps + QStringLiteral("/HalvornTopoNorwayNorth/Info.xml");
    QVERIFY(TestSandbox::addInstalledMap(QStringLiteral("HalvornTopoNorwayNorth"), 4660,
                                         QStringLiteral("Halvorn Topo Norway North 24.1")));

    QList<RouteStep> steps = start(QStringLiteral("HALV-PC-0001"));
    steps.insert(1, {"InstallUpdateUninstallPage", "InstallUpdateButton"});
    QCOMPARE(walk(steps + QList<RouteStep>{{"PCUpdatesAvailablePage", "UpdateNowButton"},
                                           {"DownloadMapPCPage"},
                                           {"InformNewPCVersionPage"}}),
             QString());

    QStringList folders = QDir(maps).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    folders.sort();
    QCOMPARE(folders, (QStringList{"HalvornTopoNorwayNorth", "HalvornTopoNorwaySouth"}));
    QCOMPARE(Core::readMapVersion(info), QVersionNumber(24, 2, 0));
    QVERIFY(!QFileInfo::exists(InstalledMaps::downloadFolder(maps) + QStringLiteral(".journal")));
    const QList<QJsonObject> reports = m_service.requests(QStringLiteral("update_info_pc"));
    QCOMPARE(reports.size(), 1);
    QCOMPARE(reports.at(0).value(QStringLiteral("serial_number")).toString(),
             QStringLiteral("HALV-PC-0001"));
    QCOMPARE(QStringList({reports.at(0).value(QStringLiteral("pc_version_major")).toString(),
                          reports.at(0).value(QStringLiteral("pc_version_minor")).toString(),
                          reports.at(0).value(QStringLiteral("pc_version_update")).toString()}),
             (QStringList{"24", "2", "0"}));
}

void TestWizardEndToEnd::faultyMapDownloadsAskToTryAgain_data()
{
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("prompt");
    const QString corrupt =
        QStringLiteral("The downloaded map is corrupt. Would you like to try downloading again?");
    const QString failed = QStringLiteral("Download failed. Would you like to try again?");
    QTest::newRow("wrong checksum") << "FAULT-WRONG-MD5" << corrupt;
    QTest::newRow("dropped") << "FAULT-DROP" << failed;
    QTest::newRow("HTTP error") << "FAULT-MAP-HTTP-ERROR" << failed;
}

// YES tries again and meets the same fault; NO leaves for MajorReleaseAvailablePage, with the
// maps folder as it was.
void TestWizardEndToEnd::faultyMapDownloadsAskToTryAgain()
{
    QFETCH(QString, serial);
    QFETCH(QString, prompt);
    QCOMPARE(walk(start(serial, {Yes, No}) + QList<RouteStep>{{"MajorReleaseAvailablePage"}}),
             QString());
    const QList<PopupAnswerer::Shown> &shown = m_answerer->shown();
    QCOMPARE(shown.value(0).text, prompt);
    QCOMPARE(shown.value(1).text, prompt);
    QCOMPARE(shown.value(0).header, QStringLiteral("ERROR"));
    QCOMPARE(shown.value(1).leftButton, QStringLiteral("NO"));
    QCOMPARE(QDir(Core::garminMapsFolder()).entryList({QStringLiteral("Halvorn*")}, QDir::Dirs),
             QStringList{QStringLiteral("HalvornSyncDownloads")});
    QVERIFY(m_service.requests(QStringLiteral("update_info_pc")).isEmpty());
}

void TestWizardEndToEnd::cardsOneAfterTheOther_data()
{
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("versionPage");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("lastPage");

    QTest::newRow("both cards written") << "HALV-SD-0002"
                                        << "SDUpdatesAvailablePage"
                                        << "UpdateNowButton"
                                        << "InformNewSDVersionPage";
    QTest::newRow("both cards already current") << "HALV-SD-CURRENT-0007"
                                                << "NoSDUpdatesAvailablePage"
                                                << "NextButton"
                                                << "ViewMapOnPCPage";
}

// Two cards, by clicking: each is put in when asked for (the first carrying its old map, the
// second blank), chosen, written or skipped, and taken out.
void TestWizardEndToEnd::cardsOneAfterTheOther()
{
    QFETCH(QString, serial);
    QFETCH(QString, versionPage);
    QFETCH(QString, button);
    QFETCH(QString, lastPage);
    const std::unique_ptr<ProductInfo> product = m_service.product(serial);
    QVERIFY(product);
    m_service.clearRequests();
    const QString roots[] = {QDir::homePath() + QStringLiteral("/card1"),
                             QDir::homePath() + QStringLiteral("/card2")};
    const bool written = serial == QLatin1String("HALV-SD-0002");
    // What a card holds when it goes in: the old map of the first card; the second card is
    // blank when it is to be written, else it carries its current map.
    const auto insert = [&](int card) {
        m_platform->insertCard(
            roots[card], card == 0 || !written ? std::optional<int>(4662 + card) : std::nullopt,
            card == 0 ? QStringLiteral("HALVORN") : QString());
        QFile image(CardImage::path(roots[card]));
        return image.open(QIODevice::ReadOnly) ? image.readAll() : QByteArray();
    };
    QByteArray before = insert(0);

    QCOMPARE(walk(start(serial)), QString());
    for (int card = 0; card < 2; ++card) {
        QCOMPARE(walk({{"InsertSDPage"}}), QString());
        const auto *drives = page()->findChild<QComboBox *>(QStringLiteral("DrivesComboBox"));
        QTRY_COMPARE(drives->count(), 1);
        QCOMPARE(drives->currentText(),
                 card == 0 ? roots[0] + QStringLiteral(" (HALVORN)") : roots[1]);
        QCOMPARE(walk({{"InsertSDPage", "ContinueButton"}, {versionPage, button}, {"EjectSDPage"}}),
                 QString());

        QFile image(CardImage::path(roots[card]));
        QVERIFY(image.open(QIODevice::ReadOnly));
        const QByteArray after = image.readAll();
        QCOMPARE(QCryptographicHash::hash(after, QCryptographicHash::Md5).toHex(),
                 written ? product->sdSubProducts.at(card).md5.toLatin1()
                         : QCryptographicHash::hash(before, QCryptographicHash::Md5).toHex());
        m_platform->removeCard(roots[card]);
        if (card == 0) {
            before = insert(1);
        }
    }
    QCOMPARE(walk({{lastPage}}), QString());

    QStringList reported;
    for (const QJsonObject &report : m_service.requests(QStringLiteral("transfer_sd"))) {
        reported.append(report.value(QStringLiteral("product_name_sd")).toString());
    }
    const QStringList names = {product->sdSubProducts.at(0).name,
                               product->sdSubProducts.at(1).name};
    QCOMPARE(reported, written ? names : QStringList());
}

// Without BaseCamp, a product with GPS data from its serial to the thank-you page: the
// installer fetched and started, the map installed, the GPS data unpacked beside the user's own
// files.
void TestWizardEndToEnd::baseCampAndGpsDataAreFetched()
{
    QVERIFY(m_platform->setBaseCamp({}));
    const QDir downloads(QStandardPaths::writableLocation(QStandardPaths::DownloadLocation));
    QFile own(downloads.filePath(QStringLiteral("Halvorn GPS Data/Viewpoints.gpx")));
    QVERIFY(TestFiles::write(own.fileName(), "mine"));
    // BaseCamp required: NEXT; transfer to GPS: SKIP; the GPS data: YES.
    QCOMPARE(walk(start(QStringLiteral("HALV-GPS-0004"), {Yes, No, Yes}) +
                  QList<RouteStep>{{"InstallBaseCampPage"}}),
             QString());
    QTRY_COMPARE(m_platform->startedPrograms,
                 QStringList{QDir(DownloadCache::folder()).filePath("install_basecamp.exe")});
    QCOMPARE(walk({{"InstallBaseCampPage", "ContinueButton"},
                   {"InformNewPCVersionPage", "NextButton"},
                   {"GPSDataExtractedPage"}}),
             QString());

    QCOMPARE(m_answerer->unexpectedCount(), 0);
    QCOMPARE(m_answerer->shown().value(2).header, QStringLiteral("HALVORN MOUNTAIN HUTS"));
    QVERIFY2(text("InfoLabel")
                 .contains(QStringLiteral("Halvorn Mountain Huts</span> in your "
                                          "Downloads folder")),
             qPrintable(text("InfoLabel")));
    const QDir data(downloads.filePath(QStringLiteral("Halvorn Mountain Huts/Halvorn GPS Data")));
    QCOMPARE(data.entryList(QDir::Files, QDir::Name),
             (QStringList{"Mountain huts.gpx", "Viewpoints.gpx"}));
    QVERIFY(!QFileInfo::exists(downloads.filePath(QStringLiteral("additional_gps_data.zip"))));
    QVERIFY(own.open(QIODevice::ReadOnly));
    QCOMPARE(own.readAll(), QByteArray("mine"));
    QCOMPARE(walk({{"GPSDataExtractedPage", "NextButton"}, {"ThankYouPage"}}), QString());
}

HALVORNSYNC_TEST_MAIN(TestWizardEndToEnd)
#include "tst_wizard_e2e.moc"
