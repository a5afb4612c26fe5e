#include "TestMain.h"
#include "service/ProductInfo.h"
#include "service/ProductInfoReply.h"
#include "service/ServiceAddress.h"
#include "service/ServiceRequests.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {
ProductInfo parse(const char *json)
{
    ProductInfo info;
    info.fromJson(QJsonDocument::fromJson(json).object());
    return info;
}

using Ids = QList<qint32>;
} // namespace

class TestProductInfo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formatAndVersions_data();
    void formatAndVersions();
    void computerFamilyIds_data();
    void computerFamilyIds();
    void replyBody_data();
    void replyBody();
    void serviceAddressOverride_data();
    void serviceAddressOverride();
};

void TestProductInfo::formatAndVersions_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("pc");
    QTest::addColumn<QVersionNumber>("latest");
    QTest::addColumn<QVersionNumber>("card");
    QTest::addColumn<bool>("newer");
    const QVersionNumber zero(0, 0, 0);
    QTest::newRow("absent: card, versions equal")
        << QByteArray("{}") << false << zero << zero << false;
    QTest::newRow("PC, segments compare as numbers")
        << QByteArray(R"({"format":"PC","latest_version_major":3,"latest_version_minor":10,
                          "sd_version_major":3,"sd_version_minor":9,"sd_version_update":9})")
        << true << QVersionNumber(3, 10, 0) << QVersionNumber(3, 9, 9) << true;
    QTest::newRow("lower-case sd is not SD; text, fraction and huge read as 0")
        << QByteArray(R"({"format":"sd","latest_version_major":"24","latest_version_minor":1.5,
                          "latest_version_update":3000000000,"sd_version_major":true})")
        << true << zero << zero << false;
}

void TestProductInfo::formatAndVersions()
{
    QFETCH(QByteArray, json);
    const ProductInfo info = parse(json);
    QTEST(info.isPcFormat, "pc");
    QTEST(info.latestVersion, "latest");
    QTEST(info.sdVersion, "card");
    QCOMPARE(info.latestVersion.segmentCount(), 3);
    QTEST(info.latestNewerThanSd, "newer");
}

void TestProductInfo::computerFamilyIds_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<Ids>("fids");
    QTest::addColumn<Ids>("removeFids");
    // `list` is the computer sub-product list's content.
    const auto row = [](const char *name, const char *list, const Ids &fids, const Ids &remove) {
        QTest::newRow(name) << R"({"subproducts_PC":[)" + QByteArray(list) + "]}" << fids << remove;
    };
    QTest::newRow("no computer sub-product") << QByteArray("{}") << Ids{} << Ids{};
    row("fid single", R"({"fid":7})", {7}, {});
    row("non-numbers in a fid list", R"({"fid":[12,"x",2.5,null]})", {12, 0, 0, 0}, {});
    row("remove_fid 0", R"({"fid":1,"remove_fid":0})", {1}, {});
    row("remove_fid 1", R"({"fid":1,"remove_fid":1})", {1}, {1});
    row("remove_fid list keeps 0", R"({"fid":1,"remove_fid":[0]})", {1}, {0});
    row("only the first element counts", R"({"fid":1},{"fid":2,"remove_fid":3},"junk")", {1}, {});
}

void TestProductInfo::computerFamilyIds()
{
    QFETCH(QByteArray, json);
    const ProductInfo info = parse(json);
    QTEST(info.pcSubProduct.fids, "fids");
    QTEST(info.pcSubProduct.removeFids, "removeFids");
}

void TestProductInfo::replyBody_data()
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

void TestProductInfo::replyBody()
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

void TestProductInfo::serviceAddressOverride_data()
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

void TestProductInfo::serviceAddressOverride()
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
    QCOMPARE(request.toString(), base + "/api/v2/?action=get_info&serial_number=S1&language=EN"
                                        "&halvornsync_version=2.2.2");
}

HALVORNSYNC_TEST_MAIN(TestProductInfo)
#include "tst_productinfo.moc"
