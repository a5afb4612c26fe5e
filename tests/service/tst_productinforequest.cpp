#include "PageRecorder.h"
#include "PopupAnswerer.h"
#include "SerialAnswerer.h"
#include "TestCertificates.h"
#include "TestMain.h"
#include "VendorServiceProcess.h"
#include "app/Core.h"
#include "service/ProductInfo.h"
#include "service/ProductInfoStep.h"

#include <QDialog>
#include <QLineEdit>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QPushButton>
#include <QTimer>

namespace {
using Button = PopupAnswerer::Button;

// Runs the whole step for one serial, as the user would from a page, and waits until it is over.
void runStep(QWidget *origin, const QString &serial)
{
    SerialAnswerer serials;
    serials.answer(serial);
    ProductInfoStep::start(origin);
    QTRY_VERIFY(!ProductInfoStep::isRunning());
}
} // namespace

class TestProductInfoRequest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void replyShapes_data();
    void replyShapes();
    void busyWhileTheRequestRuns();
    void languageFollowsTheDefaultLocale_data();
    void languageFollowsTheDefaultLocale();
    void serialWithDelimitersArrivesWhole();
    void noticeIsShownAsRichTextBeforeMovingOn();
    void serialPopupOffersTheLastSerialAndBackSendsNothing();
    void blankSerialKeepsThePopupOpen();
    void httpsWithACertificateTrustedByTheTestOnly();

private:
    VendorServiceProcess m_service;
    QWidget m_origin;
};

void TestProductInfoRequest::initTestCase()
{
    QVERIFY2(m_service.start(), qPrintable(m_service.errorString()));
    m_service.useAsServiceAddress();
}

void TestProductInfoRequest::init()
{
    m_service.clearRequests();
    m_origin.setEnabled(true);
}

void TestProductInfoRequest::replyShapes_data()
{
    QTest::addColumn<QString>("serial");
    QTest::addColumn<bool>("moves");      // reaches UpdateFirmwarePage with a new record
    QTest::addColumn<QString>("error");   // the error pop-up's text, when it fails
    QTest::addColumn<QString>("product"); // the new record's product name
    QTest::addColumn<bool>("pc");
    const QString corrupted = QStringLiteral("Corrupted product info detected");
    QTest::newRow("object") << "HALV-PC-0001" << true << QString() << "Halvorn Topo Norway" << true;
    QTest::newRow("card object") << "HALV-SD-0002" << true << QString() << "Halvorn Topo Card"
                                 << false;
    QTest::newRow("array of the object")
        << "SHAPE-ARRAY" << true << QString() << "Halvorn Topo Norway" << true;
    QTest::newRow("array of a number gives an empty card product")
        << "SHAPE-ARRAY-NUMBER" << true << QString() << QString() << false;
    QTest::newRow("empty array") << "SHAPE-EMPTY-ARRAY" << false << corrupted << QString() << false;
    QTest::newRow("corrupt JSON") << "FAULT-CORRUPT-JSON" << false << corrupted << QString()
                                  << false;
    QTest::newRow("Error: with a line break")
        << "FAULT-SERVICE-ERROR" << false << "This serial number is not registered for updates."
        << QString() << false;
    QTest::newRow("Error: alone") << "FAULT-SERVICE-ERROR-EMPTY" << false << QString() << QString()
                                  << false;
}

void TestProductInfoRequest::replyShapes()
{
    QFETCH(QString, serial);
    QFETCH(bool, moves);
    QFETCH(QString, error);
    QFETCH(QString, product);
    QFETCH(bool, pc);

    auto *previous = new ProductInfo;
    previous->productName = QStringLiteral("previous");
    Core::instance()->setProductInfo(previous);
    PageRecorder recorder;
    PopupAnswerer popups;
    popups.answer(Button::Right);

    runStep(&m_origin, serial);

    QCOMPARE(m_service.requests(QStringLiteral("get_info")).size(), 1);
    QVERIFY(m_origin.isEnabled());
    if (moves) {
        QCOMPARE(recorder.pages, QList<PageId>{PageId::UpdateFirmwarePage});
        QCOMPARE(popups.shownCount(), 0); // a blank notice shows nothing
        const ProductInfo *info = Core::instance()->productInfo();
        QVERIFY(info != previous);
        QCOMPARE(info->productName, product);
        QCOMPARE(info->isPcFormat, pc);
        QCOMPARE(info->productSerial, serial);
    } else {
        QVERIFY(recorder.pages.isEmpty());
        QCOMPARE(popups.shownCount(), 1);
        QCOMPARE(popups.shown().first().header, QStringLiteral("ERROR"));
        QCOMPARE(popups.shown().first().text, error);
        QCOMPARE(Core::instance()->productInfo(), previous);
    }
}

void TestProductInfoRequest::busyWhileTheRequestRuns()
{
    // The service answers 503: Qt's own error text is shown and the user can try again.
    PageRecorder recorder;
    PopupAnswerer popups;
    popups.answer(Button::Right);
    SerialAnswerer serials;
    serials.answer(QStringLiteral("FAULT-HTTP-ERROR"));

    ProductInfoStep::start(&m_origin);
    QVERIFY(ProductInfoStep::isRunning());
    QVERIFY(!m_origin.isEnabled());
    // A second start while the first runs neither asks nor sends.
    ProductInfoStep::start(&m_origin);
    QCOMPARE(serials.shownCount(), 1);

    QTRY_VERIFY(!ProductInfoStep::isRunning());
    QVERIFY(m_origin.isEnabled());
    QVERIFY(recorder.pages.isEmpty());
    QCOMPARE(popups.shownCount(), 1);
    QVERIFY2(popups.shown().first().text.contains(QLatin1String("Service Unavailable")),
             qPrintable(popups.shown().first().text));
    QCOMPARE(m_service.requests(QStringLiteral("get_info")).size(), 1);
}

void TestProductInfoRequest::languageFollowsTheDefaultLocale_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("language");
    QTest::newRow("French") << QLocale(QLocale::French, QLocale::Canada) << "FR";
    QTest::newRow("English") << QLocale(QLocale::English) << "EN";
    QTest::newRow("German") << QLocale(QLocale::German) << "EN";
}

void TestProductInfoRequest::languageFollowsTheDefaultLocale()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, language);
    const QLocale previous;
    QLocale::setDefault(locale);
    PageRecorder recorder;
    runStep(&m_origin, QStringLiteral("HALV-PC-0001"));
    QLocale::setDefault(previous);

    const QList<QJsonObject> requests = m_service.requests(QStringLiteral("get_info"));
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests.first().value(QLatin1String("language")).toString(), language);
    QCOMPARE(requests.first().value(QLatin1String("halvornsync_version")).toString(),
             QStringLiteral("2.2.2"));
}

void TestProductInfoRequest::serialWithDelimitersArrivesWhole()
{
    const QString serial = QStringLiteral("AB & CD&language=XX #1");
    PopupAnswerer popups;
    popups.answer(Button::Right);
    runStep(&m_origin, serial);

    const QList<QJsonObject> requests = m_service.requests(QStringLiteral("get_info"));
    QCOMPARE(requests.size(), 1);
    QJsonObject request = requests.first();
    request.remove(QStringLiteral("received_at"));
    const QJsonObject expected{{QStringLiteral("action"), QStringLiteral("get_info")},
                               {QStringLiteral("serial_number"), serial},
                               {QStringLiteral("language"), Core::languageCode()},
                               {QStringLiteral("halvornsync_version"), QStringLiteral("2.2.2")}};
    QCOMPARE(request, expected);
    // The service did not know it, and says so with the serial it received.
    QCOMPARE(popups.shownCount(), 1);
    QCOMPARE(popups.shown().first().text, QStringLiteral("Unknown serial number: ") + serial);
    QCOMPARE(Core::instance()->productSerial(), serial);
}

void TestProductInfoRequest::noticeIsShownAsRichTextBeforeMovingOn()
{
    PageRecorder recorder;
    PopupAnswerer popups;
    QList<PageId> pagesWhileNoticeOpen{PageId::ChooseLanguagePage};
    QTimer probe;
    connect(&probe, &QTimer::timeout, this, [&] {
        if (popups.openPopup()) {
            pagesWhileNoticeOpen = recorder.pages;
            popups.answerOpen(Button::Right);
        }
    });
    probe.start(0);
    runStep(&m_origin, QStringLiteral("HALV-NOTICE-0003"));
    probe.stop();

    QCOMPARE(popups.shownCount(), 1);
    const PopupAnswerer::Shown notice = popups.shown().first();
    QCOMPARE(notice.header, QStringLiteral("INFORMATION"));
    QCOMPARE(notice.leftButton, QString());
    QCOMPARE(notice.rightButton, QStringLiteral("CONTINUE ≻"));
    const QString link = m_service.baseUrl().toString() + QStringLiteral("/pages/release-notes");
    QCOMPARE(notice.text,
             QStringLiteral("<p align=\"center\"><img src=\":/images/info.svg\" width=\"64\" "
                            "height=\"64\"></p><p align=\"center\">This release redraws the "
                            "national parks. <a href=\"%1\">Read the release notes</a>.</p>")
                 .arg(link));
    QVERIFY(pagesWhileNoticeOpen.isEmpty());
    QCOMPARE(recorder.pages, QList<PageId>{PageId::UpdateFirmwarePage});
}

void TestProductInfoRequest::serialPopupOffersTheLastSerialAndBackSendsNothing()
{
    PageRecorder recorder;
    runStep(&m_origin, QStringLiteral("  HALV-SD-0002 \n"));
    QCOMPARE(Core::instance()->productSerial(), QStringLiteral("HALV-SD-0002"));

    SerialAnswerer serials;
    serials.back();
    ProductInfoStep::start(&m_origin);
    QVERIFY(!ProductInfoStep::isRunning());
    QCOMPARE(serials.offered(), QStringList{QStringLiteral("HALV-SD-0002")});
    QCOMPARE(m_service.requests(QStringLiteral("get_info")).size(), 1);
    QCOMPARE(recorder.pages.size(), 1);
    QVERIFY(m_origin.isEnabled());
}

void TestProductInfoRequest::blankSerialKeepsThePopupOpen()
{
    Core::instance()->setProductSerial(QString());
    bool stayedOpen = false;
    bool continueEnabledWhenBlank = true;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            return;
        }
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("SerialLineEdit"));
        auto *proceed = dialog->findChild<QPushButton *>(QStringLiteral("RightPopupButton"));
        edit->setText(QStringLiteral("   "));
        continueEnabledWhenBlank = proceed->isEnabled();
        dialog->accept(); // Enter, or a click that slipped through
        stayedOpen = dialog->isVisible();
        dialog->reject();
    });
    ProductInfoStep::start(&m_origin);
    QVERIFY(stayedOpen);
    QVERIFY(!continueEnabledWhenBlank);
    QVERIFY(m_service.requests().isEmpty());
}

void TestProductInfoRequest::httpsWithACertificateTrustedByTheTestOnly()
{
    TestCertificates certificates;
    QVERIFY2(certificates.generate(), qPrintable(certificates.errorString()));
    VendorServiceProcess::Options options;
    options.tlsCertificate = certificates.certificatePath();
    options.tlsKey = certificates.keyPath();
    VendorServiceProcess secure(options);
    QVERIFY2(secure.start(), qPrintable(secure.errorString()));
    QCOMPARE(secure.baseUrl().scheme(), QStringLiteral("https"));
    secure.useAsServiceAddress();
    PageRecorder recorder;

    {
        // Not trusted yet: the TLS failure is shown and nothing reaches the service.
        PopupAnswerer popups;
        popups.answer(Button::Right);
        runStep(&m_origin, QStringLiteral("HALV-PC-0001"));
        QCOMPARE(popups.shownCount(), 1);
        QVERIFY(recorder.pages.isEmpty());
        QVERIFY(secure.requests().isEmpty());
    }

    // The manager keeps the first connection with the TLS settings it was made with.
    Core::instance()->networkManager()->clearConnectionCache();
    certificates.trustInThisProcess();
    PopupAnswerer unexpected;
    unexpected.answer(Button::Right);
    runStep(&m_origin, QStringLiteral("HALV-PC-0001"));
    TestCertificates::forgetTrust();
    QVERIFY2(unexpected.shownCount() == 0,
             unexpected.shownCount() ? qPrintable(unexpected.shown().first().text) : "");
    m_service.useAsServiceAddress();

    QCOMPARE(recorder.pages, QList<PageId>{PageId::UpdateFirmwarePage});
    QCOMPARE(secure.requests(QStringLiteral("get_info")).size(), 1);
    QVERIFY(Core::instance()->productInfo()->pcSubProduct.map.toString().startsWith(
        secure.baseUrl().toString() + QStringLiteral("/files/")));
}

HALVORNSYNC_TEST_MAIN(TestProductInfoRequest)
#include "tst_productinforequest.moc"
