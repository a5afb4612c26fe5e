#include "FakePlatform.h"
#include "PageRecorder.h"
#include "PopupAnswerer.h"
#include "TestMain.h"
#include "VendorServiceProcess.h"
#include "app/Core.h"
#include "app/ProductInfoStep.h"
#include "app/VersionReportStep.h"
#include "halvornsync/Version.h"
#include "service/ProductInfo.h"
#include "service/ProductInfoReply.h"
#include "service/ReplyTimeout.h"
#include "service/SdVersionReport.h"
#include "service/ServiceAddress.h"
#include "service/ServiceRequests.h"
#include "service/VersionReport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSslConfiguration>
#include <QTimer>
#include <QUrlQuery>

namespace {
using Ids = QList<qint32>;
using Button = PopupAnswerer::Button;

// Runs the whole step for one serial, as the user would from a page, and waits until it is over.
void runStep(QWidget *origin, const QString &serial)
{
    PopupAnswerer serials;
    serials.answerSerial(serial);
    ProductInfoStep::start(origin);
    QTRY_VERIFY(!ProductInfoStep::isRunning());
}

QJsonObject withoutTime(QJsonObject entry)
{
    entry.remove(QStringLiteral("received_at"));
    return entry;
}
} // namespace

// The service: its replies read, the product step, and the version reports.
class TestService : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void formatVersionsAndFamilies_data();
    void formatVersionsAndFamilies();
    void replyBody_data();
    void replyBody();
    void serviceAddressOverride_data();
    void serviceAddressOverride();
    void replies_data();
    void replies();
    void httpsWithACertificateTrustedByTheTestOnly();
    void reports_data();
    void reports();

private:
    VendorServiceProcess m_service;
    QWidget m_origin;
};

void TestService::initTestCase()
{
    QVERIFY2(m_service.start(), qPrintable(m_service.errorString()));
    m_service.useAsServiceAddress();
    // The reports carry the language; the machine's own must not change them.
    QLocale::setDefault(QLocale(QLocale::English));
}

void TestService::init()
{
    m_service.clearRequests();
    Core::instance()->setCardUpdated(false);
    SdVersionReport::setTimeoutMs(SdVersionReport::defaultTimeoutMs);
    ReplyTimeout::setSilenceMs(ReplyTimeout::defaultSilenceMs);
}

void TestService::formatVersionsAndFamilies_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("pc");
    QTest::addColumn<QVersionNumber>("latest");
    QTest::addColumn<QVersionNumber>("card");
    QTest::addColumn<bool>("newer");
    QTest::addColumn<Ids>("fids");
    QTest::addColumn<Ids>("removeFids");
    const QVersionNumber zero(0, 0, 0);
    // Only a computer sub-product list, whose content is `list`.
    const auto ids = [&zero](const char *name, const char *list, const Ids &fids,
                             const Ids &remove) {
        QTest::newRow(name) << R"({"subproducts_PC":[)" + QByteArray(list) + "]}" << false << zero
                            << zero << false << fids << remove;
    };
    QTest::newRow("absent: card, versions equal, no families")
        << QByteArray("{}") << false << zero << zero << false << Ids{} << Ids{};
    QTest::newRow("PC, segments compare as numbers")
        << QByteArray(R"({"format":"PC","latest_version_major":3,"latest_version_minor":10,
                          "sd_version_major":3,"sd_version_minor":9,"sd_version_update":9})")
        << true << QVersionNumber(3, 10, 0) << QVersionNumber(3, 9, 9) << true << Ids{} << Ids{};
    QTest::newRow("lower-case sd is not SD; text, fraction and huge read as 0")
        << QByteArray(R"({"format":"sd","latest_version_major":"24","latest_version_minor":1.5,
                          "latest_version_update":3000000000,"sd_version_major":true})")
        << true << zero << zero << false << Ids{} << Ids{};
    ids("fid single", R"({"fid":7})", {7}, {});
    ids("non-numbers in a fid list", R"({"fid":[12,"x",2.5,null]})", {12, 0, 0, 0}, {});
    ids("remove_fid 0", R"({"fid":1,"remove_fid":0})", {1}, {});
    ids("remove_fid 1", R"({"fid":1,"remove_fid":1})", {1}, {1});
    ids("remove_fid list keeps 0", R"({"fid":1,"remove_fid":[0]})", {1}, {0});
    ids("only the first element counts", R"({"fid":1},{"fid":2,"remove_fid":3},"junk")", {1}, {});
}

void TestService::formatVersionsAndFamilies()
{
    QFETCH(QByteArray, json);
    ProductInfo info;
    info.fromJson(QJsonDocument::fromJson(json).object());
    QTEST(info.isPcFormat, "pc");
    QTEST(info.latestVersion, "latest");
    QTEST(info.sdVersion, "card");
    QCOMPARE(info.latestVersion.segmentCount(), 3);
    QTEST(info.latestNewerThanSd, "newer");
    QTEST(info.pcSubProduct.fids, "fids");
    QTEST(info.pcSubProduct.removeFids, "removeFids");
}

void TestService::replyBody_data()
{
    using Kind = ProductInfoReply::Kind;
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("text"); // the product's name, or the message
    const auto row = [](const char *name, const char *body, Kind kind, const QString &text) {
        QTest::newRow(name) << QByteArray(body) << kind << text;
    };
    const QString corrupted = QStringLiteral("Corrupted product info detected");
    row("object", R"({"product_name":"Topo"})", Kind::Product, "Topo");
    row("array of a number", "[5]", Kind::Product, "");
    row("card list that is not a list is no list",
        R"({"subproducts_SD":"cards","subproducts_PC":{"fid":1}})", Kind::Product, "");
    row("empty array", "[]", Kind::Corrupted, corrupted);
    row("cut short", R"({"product_name":"To)", Kind::Corrupted, corrupted);
    row("card list with a number after a good card",
        R"({"subproducts_SD":[{"name":"A","fid":1},5]})", Kind::Corrupted, corrupted);
    row("computer list starting with text", R"({"subproducts_PC":["map.zip"]})", Kind::Corrupted,
        corrupted);
    row("service error with line break", "Error: Serial expired\r\n", Kind::ServiceError,
        "Serial expired");
    row("service error alone", "Error:", Kind::ServiceError, "");
}

void TestService::replyBody()
{
    QFETCH(QByteArray, body);
    QFETCH(ProductInfoReply::Kind, kind);
    QFETCH(QString, text);
    const ProductInfoReply reply = ProductInfoReply::interpret(body);
    const bool product = kind == ProductInfoReply::Kind::Product;
    QCOMPARE(reply.kind, kind);
    QCOMPARE(reply.message, product ? QString() : text);
    QCOMPARE(bool(reply.product), product);
    if (reply.product) {
        QCOMPARE(reply.product->productName, text);
        QVERIFY(reply.product->sdSubProducts.isEmpty());
        QVERIFY(reply.product->pcSubProduct.fids.isEmpty());
    }
}

void TestService::serviceAddressOverride_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("accepted"); // refused: the built-in address is used
    QTest::newRow("https") << "https://maps.example" << true;
    QTest::newRow("https, port, slash") << "https://maps.example:8443/" << true;
    QTest::newRow("http to loopback") << "http://127.0.0.1:8080" << true;
    QTest::newRow("http to another host") << "http://maps.example" << false;
    QTest::newRow("http to a loopback-looking name") << "http://127.0.0.1.evil.example" << false;
    QTest::newRow("fragment") << "https://maps.example#" << false;
    QTest::newRow("query") << "https://maps.example?" << false;
    QTest::newRow("path") << "https://maps.example/api" << false;
    QTest::newRow("user") << "https://me@maps.example" << false;
    QTest::newRow("another scheme") << "file:///tmp/service" << false;
}

void TestService::serviceAddressOverride()
{
    QFETCH(QString, address);
    QFETCH(bool, accepted);
    const QByteArray sandboxed = qgetenv("HALVORNSYNC_SERVICE_URL");
    qunsetenv("HALVORNSYNC_SERVICE_URL");
    const QUrl builtIn = serviceBaseUrl();
    qputenv("HALVORNSYNC_SERVICE_URL", address.toUtf8());
    if (!accepted) {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^HALVORNSYNC_SERVICE_URL refused"));
    }
    // Asked for every request; refused once.
    serviceBaseUrl();
    const QUrl request = ServiceRequests::productInfoUrl("S1", "EN");
    qputenv("HALVORNSYNC_SERVICE_URL", sandboxed);

    const QString base =
        accepted ? address.chopped(address.endsWith('/') ? 1 : 0) : builtIn.toString();
    QCOMPARE(request.toString(), base +
                                     "/api/v2/?action=get_info&serial_number=S1&language=EN"
                                     "&halvornsync_version=" +
                                     QLatin1String(ProgramVersion::release));
}

void TestService::replies_data()
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
    QTest::newRow("JSON cut short") << "FAULT-CORRUPT-JSON"
                                    << "Corrupted product info detected" << patient;
    QTest::newRow("never answers") << "FAULT-INFO-SILENT" << silent << 300;
    QTest::newRow("stops mid-body") << "FAULT-INFO-STOPS" << silent << 300;
    // Unknown to the service, which answers with the serial it received: it arrives whole however
    // it would read as a query, and its markup is shown as typed.
    const QString serial =
        QStringLiteral("AB & CD&language=XX #1 a=b#c?d+e%20f;g/h Sérié–42 <b>42</b> <img "
                       "src=\"/nonexistent/fifo\">");
    QTest::newRow("unknown serial") << serial << "Unknown serial number: " + serial << patient;
}

void TestService::replies()
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
    QCOMPARE(withoutTime(requests.first()),
             (QJsonObject{{"action", "get_info"},
                          {"serial_number", serial},
                          {"language", Core::languageCode()},
                          {"halvornsync_version", ProgramVersion::release}}));
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

void TestService::httpsWithACertificateTrustedByTheTestOnly()
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

void TestService::reports_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<int>("cardIndex");
    QTest::addColumn<QString>("query"); // exactly what the service must receive; empty: refused
    QTest::addColumn<QList<PageId>>("pages");
    QTest::addColumn<bool>("pageDeleted"); // the page with the Next button goes while it runs
    const auto row = [](const char *name, const char *action, const char *serial, int cardIndex,
                        const char *query, const QList<PageId> &pages, bool pageDeleted = false) {
        QTest::newRow(name) << action << serial << cardIndex << query << pages << pageDeleted;
    };
    const QList<PageId> computer{PageId::InformNewPCVersionPage};
    const QList<PageId> eject{PageId::EjectSDPage};
    // The computer report is the end-to-end walk's (tests/e2e), the serial's escaping the product
    // request's (replies, "unknown serial"): both build their address as these do.
    const char *serial = "S&N&language=XX";
    row("card version sends the latest; the user moves on", "update_info_sd", serial, 1,
        "action=update_info_sd&serial_number=S%26N%26language%3DXX&sd_version_major=24&"
        "sd_version_minor=2&sd_version_update=0&language=EN",
        {});
    // The end-to-end walk reports the names of both cards; this card is past the product's list.
    row("card transfer: the card version on record, for a card the product lacks", "transfer_sd",
        serial, 2,
        "action=transfer_sd&serial_number=S%26N%26language%3DXX&product_name_sd=&"
        "sd_version_major=23&sd_version_minor=4&sd_version_update=1&language=EN",
        eject);
    // Refused with HTTP 500 or never answered, the computer and transfer reports are sent once
    // more, and the wizard moves on once; the card version report is not repeated.
    row("card transfer refused", "transfer_sd", "FAULT-REPORT-FAILS", 1, "", eject);
    row("computer, silent", "update_info_pc", "FAULT-REPORT-HANGS", 1, "", computer);
    row("card version refused", "update_info_sd", "FAULT-REPORT-FAILS", 1, "", {});
    row("card version, silent, page gone", "update_info_sd", "FAULT-REPORT-HANGS", 1, "", {}, true);
}

void TestService::reports()
{
    // The silent service's reports are given up at once; the others are answered long before.
    ReplyTimeout::setSilenceMs(1000);
    QFETCH(QString, action);
    QFETCH(QString, serial);
    QFETCH(int, cardIndex);
    QFETCH(QString, query);
    QFETCH(bool, pageDeleted);
    const bool refused = query.isEmpty();
    const bool cardVersion = action == QLatin1String("update_info_sd");
    const bool transfer = action == QLatin1String("transfer_sd");
    if (refused) {
        SdVersionReport::setTimeoutMs(200);
    }
    ProductInfo info;
    info.productSerial = serial;
    info.latestVersion = QVersionNumber(24, 2, 0);
    info.sdVersion = QVersionNumber(23, 4, 1);
    info.sdSubProducts = {{QStringLiteral("Card 1"), {}, {}, 4662},
                          {QStringLiteral("Card 2 & more"), {}, {}, 4663}};
    FakePlatform platform;
    Core::instance()->preventSleep(); // by the work the report follows
    PageRecorder recorder;
    // Once the wizard has moved on, the next page's work keeps the computer awake (started from the
    // event loop, after the report's own handler); a repeat must not let it sleep.
    recorder.onPage = [&recorder] {
        if (recorder.pages.size() == 1) {
            QTimer::singleShot(0, [] { Core::instance()->preventSleep(); });
        }
    };
    PopupAnswerer popups;
    popups.answerUnexpectedWith(Button::Right);
    auto page = std::make_unique<QWidget>();
    QPointer<QPushButton> next = new QPushButton(page.get());
    next->setEnabled(false);

    if (transfer) {
        VersionReportStep::sendSdTransfer(info, cardIndex);
    } else if (cardVersion) {
        VersionReportStep::sendSdVersion(info, next);
    } else {
        VersionReportStep::sendPcVersion(info);
    }
    if (pageDeleted) {
        page.reset();
    }
    // Over once the report has deleted itself: nothing more can follow.
    QTRY_VERIFY(Core::instance()->networkManager()->findChildren<VersionReport *>().isEmpty());

    const QList<QJsonObject> received = m_service.requests();
    QCOMPARE(received.size(), refused && !cardVersion ? 2 : 1);
    QCOMPARE(withoutTime(received.last()), withoutTime(received.first()));
    if (!refused) {
        QJsonObject expected;
        for (const auto &[key, value] : QUrlQuery(query).queryItems(QUrl::FullyDecoded)) {
            expected.insert(key, value);
        }
        QCOMPARE(withoutTime(received.first()), expected);
    }
    QCOMPARE(popups.shownCount(), refused ? received.size() : 0);
    QTEST(recorder.pages, "pages");
    QVERIFY(!next || next->isEnabled() == cardVersion);
    QCOMPARE(Core::instance()->cardUpdated(), transfer);
    // Only the transfer's end lets the computer sleep, once.
    QVERIFY(platform.keptAwake);
    QCOMPARE(platform.sleepsAllowed, transfer ? 1 : 0);
}

HALVORNSYNC_TEST_MAIN(TestService)
#include "tst_service.moc"
