#include "PageRecorder.h"
#include "PopupAnswerer.h"
#include "TestMain.h"
#include "VendorServiceProcess.h"
#include "app/Core.h"
#include "service/ProductInfo.h"
#include "service/ProductInfoStep.h"
#include "service/ReplyTimeout.h"

#include <QNetworkAccessManager>
#include <QProcess>
#include <QSslConfiguration>

namespace {
using Button = PopupAnswerer::Button;

// Runs the whole step for one serial, as the user would from a page, and waits until it is over.
void runStep(QWidget *origin, const QString &serial)
{
    PopupAnswerer serials;
    serials.answerSerial(serial);
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

    void replies_data();
    void replies();
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
}

void TestProductInfoRequest::replies_data()
{
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("error"); // part of the error pop-up's text
    QTest::addColumn<int>("silenceMs");
    const int patient = ReplyTimeout::defaultSilenceMs;
    const QString silent = QStringLiteral("The service did not answer.");
    QTest::newRow("service error")
        << "FAULT-SERVICE-ERROR"
        << "This serial number is not registered for updates." << patient;
    QTest::newRow("HTTP 503: Qt's own text") << "FAULT-HTTP-ERROR"
                                             << "Service Unavailable" << patient;
    QTest::newRow("never answers") << "FAULT-INFO-SILENT" << silent << 300;
    QTest::newRow("stops mid-body") << "FAULT-INFO-STOPS" << silent << 300;
    // Unknown to the service, which answers with the serial it received: it arrives whole however
    // it would read as a query, and its markup is shown as typed.
    const QString serial =
        QStringLiteral("AB & CD&language=XX #1 a=b#c?d+e%20f;g/h Sérié–42 <b>42</b> <img "
                       "src=\"/nonexistent/fifo\">");
    QTest::newRow("unknown serial") << serial << "Unknown serial number: " + serial << patient;
}

void TestProductInfoRequest::replies()
{
    QFETCH(QString, serial);
    QFETCH(QString, error);
    QFETCH(int, silenceMs);
    ReplyTimeout::setSilenceMs(silenceMs);
    auto *previous = new ProductInfo;
    Core::instance()->setProductInfo(previous);
    PageRecorder recorder;
    PopupAnswerer popups;
    popups.answer(Button::Right);
    popups.answerSerial(serial);

    ProductInfoStep::start(&m_origin);
    QVERIFY(ProductInfoStep::isRunning());
    QVERIFY(!m_origin.isEnabled());
    // A second start while the first runs neither asks nor sends.
    ProductInfoStep::start(&m_origin);
    QCOMPARE(popups.serialHeaders().size(), 1);
    QTRY_VERIFY(!ProductInfoStep::isRunning());
    ReplyTimeout::setSilenceMs(ReplyTimeout::defaultSilenceMs);

    const QList<QJsonObject> requests = m_service.requests(QStringLiteral("get_info"));
    QCOMPARE(requests.size(), 1);
    QJsonObject request = requests.first();
    request.remove(QStringLiteral("received_at"));
    QCOMPARE(request, (QJsonObject{{"action", "get_info"},
                                   {"serial_number", serial},
                                   {"language", Core::languageCode()},
                                   {"halvornsync_version", "2.2.2"}}));
    QCOMPARE(Core::instance()->productSerial(), serial);
    QVERIFY(m_origin.isEnabled());
    // A product that comes is the end-to-end walk's (tests/e2e); a failure keeps the one before.
    QVERIFY(recorder.pages.isEmpty());
    QCOMPARE(popups.shownCount(), 1);
    // The laid-out text: markup in the serial is shown as typed.
    QVERIFY2(popups.shown().first().readText.contains(error),
             qPrintable(popups.shown().first().readText));
    QCOMPARE(Core::instance()->productInfo(), previous);
}

void TestProductInfoRequest::httpsWithACertificateTrustedByTheTestOnly()
{
    // A throwaway certificate for 127.0.0.1 that nothing trusts until this test says so.
    QTemporaryDir dir;
    QProcess openssl;
    openssl.setWorkingDirectory(dir.path());
    openssl.start("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                              "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1",
                              "-keyout", "key.pem", "-out", "cert.pem"});
    QVERIFY(openssl.waitForFinished(60000));
    QVERIFY2(openssl.exitCode() == 0, openssl.readAllStandardError().constData());
    VendorServiceProcess::Options options;
    options.tlsCertificate = dir.filePath("cert.pem");
    options.tlsKey = dir.filePath("key.pem");
    VendorServiceProcess secure(options);
    QVERIFY2(secure.start(), qPrintable(secure.errorString()));
    QCOMPARE(secure.baseUrl().scheme(), QStringLiteral("https"));
    secure.useAsServiceAddress();
    PageRecorder recorder;
    PopupAnswerer popups;
    popups.answer(Button::Right);

    // Not trusted yet: the TLS failure is shown and nothing reaches the service.
    runStep(&m_origin, QStringLiteral("HALV-PC-0001"));
    QCOMPARE(popups.shownCount(), 1);
    QVERIFY(recorder.pages.isEmpty());
    QVERIFY(secure.requests().isEmpty());

    // The manager keeps the first connection with the TLS settings it was made with.
    Core::instance()->networkManager()->clearConnectionCache();
    const QSslConfiguration untrusting = QSslConfiguration::defaultConfiguration();
    QSslConfiguration trusting = untrusting;
    trusting.addCaCertificates(options.tlsCertificate);
    QSslConfiguration::setDefaultConfiguration(trusting);
    popups.answer(Button::Right);
    runStep(&m_origin, QStringLiteral("HALV-PC-0001"));
    QSslConfiguration::setDefaultConfiguration(untrusting);
    m_service.useAsServiceAddress();
    QVERIFY2(popups.shownCount() == 1, qPrintable(popups.shown().last().text));

    QCOMPARE(recorder.pages, QList<PageId>{PageId::UpdateFirmwarePage});
    QCOMPARE(secure.requests(QStringLiteral("get_info")).size(), 1);
}

HALVORNSYNC_TEST_MAIN(TestProductInfoRequest)
#include "tst_productinforequest.moc"
