#include "FakePlatform.h"
#include "SerialAnswerer.h"
#include "TestMain.h"
#include "VendorServiceProcess.h"
#include "app/Core.h"
#include "app/LanguageChoice.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "service/ProductInfo.h"

#include <QDir>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTextBrowser>

// The real wizard, driven by clicks from its first page to the product-information step, against
// the stand-in vendor service, and along the uninstall route.
class TestWizardEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void languageChoiceReachesTheProductStep_data();
    void languageChoiceReachesTheProductStep();
    void uninstallRemovesOnlyTheTickedMap();

private:
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
    QVERIFY2(m_service.start(), qPrintable(m_service.errorString()));
    m_service.useAsServiceAddress();
}

void TestWizardEndToEnd::init()
{
    m_service.clearRequests();
    m_platform = std::make_unique<FakePlatform>();
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
    QTest::addColumn<bool>("mapsInstalled");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QString>("next");
    QTest::addColumn<QString>("serialHeader");

    QTest::newRow("French, maps installed") << "FrenchButton" << true << "FR"
                                            << "connexion Internet haut débit"
                                            << "SUIVANT ≻"
                                            << "NUMÉRO DE SÉRIE DU PRODUIT";
    QTest::newRow("English, first map") << "EnglishButton" << false << "EN"
                                        << "high speed Internet connection"
                                        << "NEXT ≻"
                                        << "PRODUCT SERIAL NUMBER";
}

void TestWizardEndToEnd::languageChoiceReachesTheProductStep()
{
    QFETCH(QString, languageButton);
    QFETCH(bool, mapsInstalled);
    QFETCH(QString, language);
    QFETCH(QString, warning);
    QFETCH(QString, next);
    QFETCH(QString, serialHeader);
    if (mapsInstalled) {
        QVERIFY(QDir(Core::garminMapsFolder()).mkpath(QStringLiteral("HalvornTopoNorwayNorth")));
    }

    click(qPrintable(languageButton));
    if (mapsInstalled) {
        QTRY_COMPARE(page()->objectName(), QStringLiteral("InstallUpdateUninstallPage"));
        if (language == QLatin1String("FR")) {
            QVERIFY2(text("InfoLabel").contains(QStringLiteral("désinstaller de votre PC")),
                     qPrintable(text("InfoLabel")));
            QCOMPARE(text("UninstallButton"), QStringLiteral("DÉSINSTALLER"));
        }
        click("InstallUpdateButton");
    }
    QTRY_COMPARE(page()->objectName(), QStringLiteral("HighSpeedConnectionRequiredPage"));
    QVERIFY2(text("label_2").contains(warning), qPrintable(text("label_2")));
    QCOMPARE(text("NextButton"), next);

    SerialAnswerer serials;
    serials.answer(QStringLiteral("HALV-PC-0001"));
    click("NextButton");

    QTRY_COMPARE(page()->objectName(), QStringLiteral("UpdateFirmwarePage"));
    QCOMPARE(serials.headers(), QStringList{serialHeader});
    QCOMPARE(text("NextButton"), next);
    QVERIFY(Core::instance()->productInfo());
    QCOMPARE(Core::instance()->productInfo()->productSerial, QStringLiteral("HALV-PC-0001"));

    const QList<QJsonObject> requests = m_service.requests(QStringLiteral("get_info"));
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests.first().value(QStringLiteral("serial_number")).toString(),
             QStringLiteral("HALV-PC-0001"));
    QCOMPARE(requests.first().value(QStringLiteral("language")).toString(), language);
}

void TestWizardEndToEnd::uninstallRemovesOnlyTheTickedMap()
{
    const QDir maps(Core::garminMapsFolder());
    for (const QString &folder :
         QStringList{"HalvornTopoNorwayNorth", "HalvornTrails", "TopoActive"}) {
        QVERIFY(maps.mkpath(folder + "/data"));
    }
    click("EnglishButton");
    QTRY_COMPARE(page()->objectName(), QStringLiteral("InstallUpdateUninstallPage"));
    click("UninstallButton");
    click("BackButton");
    QCOMPARE(page()->objectName(), QStringLiteral("InstallUpdateUninstallPage"));
    click("UninstallButton");
    // A click on the check box of HalvornTrails.
    auto *list = page()->findChild<QListView *>();
    const QModelIndex trails =
        list->model()
            ->match(list->model()->index(0, 0), Qt::DisplayRole, QStringLiteral("HalvornTrails"))
            .value(0);
    QStyleOptionViewItem item;
    item.initFrom(list);
    item.rect = list->visualRect(trails);
    item.features = QStyleOptionViewItem::HasCheckIndicator;
    const QRect box =
        list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &item, list);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
    click("UninstallButton");

    QTRY_COMPARE(page()->objectName(), QStringLiteral("ProductsUninstalledPage"));
    QCOMPARE(page()->findChild<QTextBrowser *>()->toPlainText(), "HalvornTrails: Success");
    QCOMPARE(maps.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name),
             (QStringList{"HalvornTopoNorwayNorth", "TopoActive"}));
    click("NextButton");
    QCOMPARE(page()->objectName(), QStringLiteral("ThankYouPage"));
}

HALVORNSYNC_TEST_MAIN(TestWizardEndToEnd)
#include "tst_wizard_e2e.moc"
