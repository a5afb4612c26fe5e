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
    void format_data();
    void format();
    void versions_data();
    void versions();
    void computerFamilyIds_data();
    void computerFamilyIds();
    void valuesOfTheWrongTypeTakeTheirDefaults();
    void cardsKeepTheirOrderAndFields();
    void replyBody_data();
    void replyBody();
    void serviceAddressOverride_data();
    void serviceAddressOverride();
};

void TestProductInfo::format_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("pc");
    QTest::newRow("PC") << QByteArray(R"({"format":"PC"})") << true;
    QTest::newRow("SD") << QByteArray(R"({"format":"SD"})") << false;
    QTest::newRow("absent means card") << QByteArray("{}") << false;
    QTest::newRow("lower-case sd is not SD") << QByteArray(R"({"format":"sd"})") << true;
    QTest::newRow("a number reads as absent") << QByteArray(R"({"format":5})") << false;
}

void TestProductInfo::format()
{
    QFETCH(QByteArray, json);
    QFETCH(bool, pc);
    QCOMPARE(parse(json).isPcFormat, pc);
}

void TestProductInfo::versions_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QVersionNumber>("latest");
    QTest::addColumn<QVersionNumber>("card");
    QTest::addColumn<bool>("newer");
    QTest::newRow("absent: equal")
        << QByteArray("{}") << QVersionNumber(0, 0, 0) << QVersionNumber(0, 0, 0) << false;
    QTest::newRow("segments compare as numbers")
        << QByteArray(R"({"latest_version_major":3,"latest_version_minor":10,
                          "sd_version_major":3,"sd_version_minor":9,"sd_version_update":9})")
        << QVersionNumber(3, 10, 0) << QVersionNumber(3, 9, 9) << true;
    QTest::newRow("card newer than latest")
        << QByteArray(R"({"latest_version_update":9,"sd_version_minor":1})")
        << QVersionNumber(0, 0, 9) << QVersionNumber(0, 1, 0) << false;
    QTest::newRow("text, fraction and huge read as 0")
        << QByteArray(R"({"latest_version_major":"24","latest_version_minor":1.5,
                          "latest_version_update":3000000000,"sd_version_major":true})")
        << QVersionNumber(0, 0, 0) << QVersionNumber(0, 0, 0) << false;
}

void TestProductInfo::versions()
{
    QFETCH(QByteArray, json);
    QFETCH(QVersionNumber, latest);
    QFETCH(QVersionNumber, card);
    QFETCH(bool, newer);
    const ProductInfo info = parse(json);
    QCOMPARE(info.latestVersion, latest);
    QCOMPARE(info.sdVersion, card);
    QCOMPARE(info.latestVersion.segmentCount(), 3);
    QCOMPARE(info.latestNewerThanSd, newer);
}

void TestProductInfo::computerFamilyIds_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<Ids>("fids");
    QTest::addColumn<Ids>("removeFids");
    QTest::newRow("no computer sub-product") << QByteArray("{}") << Ids{} << Ids{};
    QTest::newRow("fid absent gives 0")
        << QByteArray(R"({"subproducts_PC":[{}]})") << Ids{0} << Ids{};
    QTest::newRow("fid single") << QByteArray(R"({"subproducts_PC":[{"fid":7}]})") << Ids{7}
                                << Ids{};
    QTest::newRow("non-numbers in a fid list")
        << QByteArray(R"({"subproducts_PC":[{"fid":[12,"x",2.5,null]}]})") << Ids{12, 0, 0, 0}
        << Ids{};
    QTest::newRow("remove_fid 0") << QByteArray(R"({"subproducts_PC":[{"fid":1,"remove_fid":0}]})")
                                  << Ids{1} << Ids{};
    QTest::newRow("remove_fid negative")
        << QByteArray(R"({"subproducts_PC":[{"fid":1,"remove_fid":-3}]})") << Ids{1} << Ids{};
    QTest::newRow("remove_fid 1") << QByteArray(R"({"subproducts_PC":[{"fid":1,"remove_fid":1}]})")
                                  << Ids{1} << Ids{1};
    QTest::newRow("remove_fid list keeps 0")
        << QByteArray(R"({"subproducts_PC":[{"fid":1,"remove_fid":[0]}]})") << Ids{1} << Ids{0};
    QTest::newRow("only the first element counts")
        << QByteArray(R"({"subproducts_PC":[{"fid":1},{"fid":2,"remove_fid":3},"junk"]})") << Ids{1}
        << Ids{};
}

void TestProductInfo::computerFamilyIds()
{
    QFETCH(QByteArray, json);
    QFETCH(Ids, fids);
    QFETCH(Ids, removeFids);
    const ProductInfo info = parse(json);
    QCOMPARE(info.pcSubProduct.fids, fids);
    QCOMPARE(info.pcSubProduct.removeFids, removeFids);
}

void TestProductInfo::valuesOfTheWrongTypeTakeTheirDefaults()
{
    const ProductInfo info = parse(R"({
        "product_name": 12, "notice": " \t\n ", "region_id": "47",
        "basecamp_pc_download": 5, "changelog_url": "https://example.invalid/changes?a=1 b",
        "major_product_release_available": "true", "major_product_release_version": 25,
        "additional_gps_data_url": null, "unknown_key": {"anything": 1}})");
    QCOMPARE(info.productName, QString());
    QCOMPARE(info.notice, QString()); // blank notices are never shown
    QCOMPARE(info.regionId, 0);
    QVERIFY(info.basecampPcDownload.isEmpty());
    QCOMPARE(info.changelogUrl.query(QUrl::FullyDecoded), QStringLiteral("a=1 b"));
    QCOMPARE(info.majorProductReleaseAvailable, false);
    QCOMPARE(info.majorProductReleaseVersion, 25);
    QVERIFY(info.additionalGpsDataUrl.isEmpty());
    QCOMPARE(parse(R"({"notice":"  <b>Read</b> this \n"})").notice,
             QStringLiteral("<b>Read</b> this"));
    QCOMPARE(parse(R"({"major_product_release_available":true})").majorProductReleaseAvailable,
             true);
}

void TestProductInfo::cardsKeepTheirOrderAndFields()
{
    const ProductInfo info = parse(R"({"subproducts_SD":[
        {"name":"Card 1","map":"http://127.0.0.1/c1.img","md5":"aa","fid":4662},
        {"name":"Card 2","fid":"4663"}]})");
    QCOMPARE(info.sdSubProducts.size(), 2);
    QCOMPARE(info.sdSubProducts[0].name, QStringLiteral("Card 1"));
    QCOMPARE(info.sdSubProducts[0].map, QUrl(QStringLiteral("http://127.0.0.1/c1.img")));
    QCOMPARE(info.sdSubProducts[0].md5, QStringLiteral("aa"));
    QCOMPARE(info.sdSubProducts[0].fid, 4662);
    QCOMPARE(info.sdSubProducts[1].name, QStringLiteral("Card 2"));
    QCOMPARE(info.sdSubProducts[1].fid, 0);
}

void TestProductInfo::replyBody_data()
{
    using Kind = ProductInfoReply::Kind;
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("productName");
    const QString corrupted = QStringLiteral("Corrupted product info detected");
    QTest::newRow("object") << QByteArray(R"({"product_name":"Topo"})") << Kind::Product
                            << QString() << "Topo";
    QTest::newRow("array of an object")
        << QByteArray(R"([{"product_name":"Topo"},{"product_name":"Other"}])") << Kind::Product
        << QString() << "Topo";
    QTest::newRow("array of a number")
        << QByteArray("[5]") << Kind::Product << QString() << QString();
    QTest::newRow("card list that is not a list is no list")
        << QByteArray(R"({"subproducts_SD":"cards","subproducts_PC":{"fid":1}})") << Kind::Product
        << QString() << QString();
    QTest::newRow("empty array") << QByteArray("[]") << Kind::Corrupted << corrupted << QString();
    QTest::newRow("cut short") << QByteArray(R"({"product_name":"To)") << Kind::Corrupted
                               << corrupted << QString();
    QTest::newRow("card list with a number after a good card")
        << QByteArray(R"({"subproducts_SD":[{"name":"A","fid":1},5]})") << Kind::Corrupted
        << corrupted << QString();
    QTest::newRow("computer list starting with text")
        << QByteArray(R"({"subproducts_PC":["map.zip"]})") << Kind::Corrupted << corrupted
        << QString();
    QTest::newRow("service error with line break")
        << QByteArray("Error: Serial expired\r\n") << Kind::ServiceError << "Serial expired"
        << QString();
    QTest::newRow("service error alone")
        << QByteArray("Error:") << Kind::ServiceError << QString() << QString();
    QTest::newRow("service error in UTF-8")
        << QByteArray("Error: Numéro de série inconnu") << Kind::ServiceError
        << QStringLiteral("Numéro de série inconnu") << QString();
    QTest::newRow("prefix only at the start")
        << QByteArray(" Error: late") << Kind::Corrupted << corrupted << QString();
}

void TestProductInfo::replyBody()
{
    QFETCH(QByteArray, body);
    QFETCH(ProductInfoReply::Kind, kind);
    QFETCH(QString, message);
    QFETCH(QString, productName);
    const ProductInfoReply reply = ProductInfoReply::interpret(body);
    QCOMPARE(reply.kind, kind);
    QCOMPARE(reply.message, message);
    QCOMPARE(bool(reply.product), kind == ProductInfoReply::Kind::Product);
    if (reply.product) {
        QCOMPARE(reply.product->productName, productName);
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
