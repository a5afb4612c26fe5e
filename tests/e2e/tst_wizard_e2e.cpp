#include "FakePlatform.h"
#include "PeFileBuilder.h"
#include "PopupAnswerer.h"
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
#include <QStackedWidget>
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
    void startProduct(const QString &serial);

    QWidget *page() const;
    QString text(const char *name) const;
    void click(const char *name);

    VendorServiceProcess m_service;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<MainWindow> m_window;
};

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
    QVERIFY(
        PeFileBuilder::writeExecutable(m_platform->nativePath(QStringLiteral(
                                           "C:/Program Files (x86)/Garmin/BaseCamp/BaseCamp.exe")),
                                       QVersionNumber(4, 6, 2)));
    m_window = std::make_unique<MainWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QTRY_VERIFY(page() && page()->objectName() == QLatin1String("ChooseLanguagePage"));
}

void TestWizardEndToEnd::cleanup()
{
    m_window.reset();
    m_platform.reset();
    QDir(Core::garminMapsFolder()).removeRecursively();
    LanguageChoice::apply(QStringLiteral("en"));
}

QWidget *TestWizardEndToEnd::page() const
{
    return m_window->findChild<QStackedWidget *>(QStringLiteral("ContainerWidget"))
        ->currentWidget();
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

void TestWizardEndToEnd::click(const char *name)
{
    auto *button = page()->findChild<QPushButton *>(QLatin1String(name));
    QVERIFY2(button, name);
    QTest::mouseClick(button, Qt::LeftButton);
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

    click(qPrintable(languageButton));
    if (mapsInstalled) {
        QTRY_COMPARE(page()->objectName(), QStringLiteral("InstallUpdateUninstallPage"));
        click("InstallUpdateButton");
    }
    QTRY_COMPARE(page()->objectName(), QStringLiteral("HighSpeedConnectionRequiredPage"));
    QVERIFY2(text("label_2").contains(warning), qPrintable(text("label_2")));
    QCOMPARE(text("NextButton"), next);

    PopupAnswerer serials;
    serials.answerSerial(QStringLiteral("HALV-PC-0001"));
    click("NextButton");

    QTRY_COMPARE(page()->objectName(), QStringLiteral("UpdateFirmwarePage"));
    QCOMPARE(serials.serialHeaders(), QStringList{serialHeader});
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

    click("EnglishButton");
    QTRY_COMPARE(page()->objectName(), QStringLiteral("InstallUpdateUninstallPage"));
    click("InstallUpdateButton");
    startProduct(QStringLiteral("HALV-PC-0001"));
    QTRY_COMPARE(page()->objectName(), QStringLiteral("PCUpdatesAvailablePage"));
    click("UpdateNowButton");
    QTRY_COMPARE(page()->objectName(), QStringLiteral("DownloadMapPCPage"));
    QTRY_COMPARE_WITH_TIMEOUT(page()->objectName(), QStringLiteral("InformNewPCVersionPage"),
                              20000);

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
    PopupAnswerer answerer;
    answerer.answer(PopupAnswerer::Button::Right);
    answerer.answer(PopupAnswerer::Button::Left);
    answerer.answerUnexpectedWith(PopupAnswerer::Button::Left);

    click("EnglishButton");
    startProduct(serial);
    QTRY_COMPARE_WITH_TIMEOUT(page()->objectName(), QStringLiteral("MajorReleaseAvailablePage"),
                              20000);
    QCOMPARE(answerer.shown().value(0).text, prompt);
    QCOMPARE(answerer.shown().value(1).text, prompt);
    QCOMPARE(answerer.shown().value(0).header, QStringLiteral("ERROR"));
    QCOMPARE(answerer.shown().value(1).leftButton, QStringLiteral("NO"));
    QCOMPARE(QDir(Core::garminMapsFolder()).entryList({QStringLiteral("Halvorn*")}, QDir::Dirs),
             QStringList{QStringLiteral("HalvornSyncDownloads")});
    QVERIFY(m_service.requests(QStringLiteral("update_info_pc")).isEmpty());
}

// From HighSpeedConnectionRequiredPage: the serial, the firmware notice, BaseCamp found.
void TestWizardEndToEnd::startProduct(const QString &serial)
{
    QTRY_COMPARE(page()->objectName(), QStringLiteral("HighSpeedConnectionRequiredPage"));
    PopupAnswerer serials;
    serials.answerSerial(serial);
    click("NextButton");
    QTRY_COMPARE(page()->objectName(), QStringLiteral("UpdateFirmwarePage"));
    click("NextButton");
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
    PopupAnswerer answerer;
    answerer.answerUnexpectedWith(PopupAnswerer::Button::Left);
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

    click("EnglishButton");
    startProduct(serial);
    for (int card = 0; card < 2; ++card) {
        QTRY_COMPARE(page()->objectName(), QStringLiteral("InsertSDPage"));
        const auto *drives = page()->findChild<QComboBox *>(QStringLiteral("DrivesComboBox"));
        QTRY_COMPARE(drives->count(), 1);
        QCOMPARE(drives->currentText(),
                 card == 0 ? roots[0] + QStringLiteral(" (HALVORN)") : roots[1]);
        click("ContinueButton");
        QTRY_COMPARE(page()->objectName(), versionPage);
        click(qPrintable(button));
        QTRY_COMPARE_WITH_TIMEOUT(page()->objectName(), QStringLiteral("EjectSDPage"), 15000);

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
    QTRY_COMPARE(page()->objectName(), lastPage);

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
    QVERIFY(QFile::remove(m_platform->nativePath(
        QStringLiteral("C:/Program Files (x86)/Garmin/BaseCamp/BaseCamp.exe"))));
    const QDir downloads(QStandardPaths::writableLocation(QStandardPaths::DownloadLocation));
    QFile own(downloads.filePath(QStringLiteral("Halvorn GPS Data/Viewpoints.gpx")));
    QVERIFY(TestFiles::write(own.fileName(), "mine"));
    PopupAnswerer answerer;
    answerer.answer(PopupAnswerer::Button::Right); // BaseCamp required: NEXT
    answerer.answer(PopupAnswerer::Button::Left);  // transfer to GPS: SKIP
    answerer.answer(PopupAnswerer::Button::Right); // the GPS data: YES

    click("EnglishButton");
    startProduct(QStringLiteral("HALV-GPS-0004"));
    QTRY_COMPARE(page()->objectName(), QStringLiteral("InstallBaseCampPage"));
    QTRY_COMPARE(m_platform->startedPrograms,
                 QStringList{QDir(DownloadCache::folder()).filePath("install_basecamp.exe")});
    click("ContinueButton");
    QTRY_COMPARE_WITH_TIMEOUT(page()->objectName(), QStringLiteral("InformNewPCVersionPage"),
                              20000);
    click("NextButton");
    QTRY_COMPARE(page()->objectName(), QStringLiteral("GPSDataExtractedPage"));

    QCOMPARE(answerer.unexpectedCount(), 0);
    QCOMPARE(answerer.shown().value(2).header, QStringLiteral("HALVORN MOUNTAIN HUTS"));
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
    click("NextButton");
    QCOMPARE(page()->objectName(), QStringLiteral("ThankYouPage"));
}

HALVORNSYNC_TEST_MAIN(TestWizardEndToEnd)
#include "tst_wizard_e2e.moc"
