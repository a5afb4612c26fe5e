#include "TestMain.h"
#include "service/ProductInfo.h"
#include "service/ProductInfoReply.h"
#include "service/ServiceRequests.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QUrlQuery>

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
    void nonObjectSubProductFails_data();
    void nonObjectSubProductFails();
    void valuesOfTheWrongTypeTakeTheirDefaults();
    void cardsKeepTheirOrderAndFields();

    void replyBody_data();
    void replyBody();

    void requestAddressKeepsEachValueWhole_data();
    void requestAddressKeepsEachValueWhole();
    void reportAddresses_data();
    void reportAddresses();
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
    QTest::newRow("empty text") << QByteArray(R"({"format":""})") << true;
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
    QTest::newRow("empty object") << QByteArray("{}") << QVersionNumber(0, 0, 0)
                                  << QVersionNumber(0, 0, 0) << false;
    QTest::newRow("segments compare as numbers")
        << QByteArray(R"({"latest_version_major":3,"latest_version_minor":10,
                          "sd_version_major":3,"sd_version_minor":9,"sd_version_update":9})")
        << QVersionNumber(3, 10, 0) << QVersionNumber(3, 9, 9) << true;
    QTest::newRow("equal") << QByteArray(R"({"latest_version_major":24,"latest_version_minor":2,
                                             "sd_version_major":24,"sd_version_minor":2})")
                           << QVersionNumber(24, 2, 0) << QVersionNumber(24, 2, 0) << false;
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
    QTest::newRow("empty list") << QByteArray(R"({"subproducts_PC":[]})") << Ids{} << Ids{};
    QTest::newRow("fid absent gives 0")
        << QByteArray(R"({"subproducts_PC":[{}]})") << Ids{0} << Ids{};
    QTest::newRow("fid list") << QByteArray(R"({"subproducts_PC":[{"fid":[12,34]}]})")
                              << Ids{12, 34} << Ids{};
    QTest::newRow("fid single") << QByteArray(R"({"subproducts_PC":[{"fid":7}]})") << Ids{7}
                                << Ids{};
    QTest::newRow("fid as text") << QByteArray(R"({"subproducts_PC":[{"fid":"7"}]})") << Ids{0}
                                 << Ids{};
    QTest::newRow("non-numbers in a fid list")
        << QByteArray(R"({"subproducts_PC":[{"fid":[1,"x",2.5,null]}]})") << Ids{1, 0, 0, 0}
        << Ids{};
    QTest::newRow("remove_fid 0") << QByteArray(R"({"subproducts_PC":[{"fid":1,"remove_fid":0}]})")
                                  << Ids{1} << Ids{};
    QTest::newRow("remove_fid negative")
        << QByteArray(R"({"subproducts_PC":[{"fid":1,"remove_fid":-3}]})") << Ids{1} << Ids{};
    QTest::newRow("remove_fid null")
        << QByteArray(R"({"subproducts_PC":[{"fid":1,"remove_fid":null}]})") << Ids{1} << Ids{};
    QTest::newRow("remove_fid text")
        << QByteArray(R"({"subproducts_PC":[{"fid":1,"remove_fid":"5"}]})") << Ids{1} << Ids{};
    QTest::newRow("remove_fid 5") << QByteArray(R"({"subproducts_PC":[{"fid":1,"remove_fid":5}]})")
                                  << Ids{1} << Ids{5};
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

void TestProductInfo::nonObjectSubProductFails_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("fails");
    QTest::newRow("card list with a number after a good card")
        << QByteArray(R"({"subproducts_SD":[{"name":"A","fid":1},5]})") << true;
    QTest::newRow("card list with null") << QByteArray(R"({"subproducts_SD":[null]})") << true;
    QTest::newRow("computer list starting with text")
        << QByteArray(R"({"subproducts_PC":["map.zip"]})") << true;
    QTest::newRow("card list that is not a list")
        << QByteArray(R"({"subproducts_SD":"cards","subproducts_PC":{"fid":1}})") << false;
}

void TestProductInfo::nonObjectSubProductFails()
{
    QFETCH(QByteArray, json);
    QFETCH(bool, fails);
    ProductInfo info;
    QString thrown;
    try {
        info.fromJson(QJsonDocument::fromJson(json).object());
    } catch (const QString &text) {
        thrown = text;
    }
    QCOMPARE(thrown, fails ? QStringLiteral("Corrupted product info detected") : QString());
    if (!fails) {
        QVERIFY(info.sdSubProducts.isEmpty());
        QVERIFY(info.pcSubProduct.fids.isEmpty());
    }
}

void TestProductInfo::valuesOfTheWrongTypeTakeTheirDefaults()
{
    const ProductInfo info = parse(R"({
        "product_name": 12, "notice": " \t\n ", "region_id": "47",
        "basecamp_pc_download": 5, "basecamp_pc_md5": ["x"],
        "changelog_url": "https://example.invalid/changes?a=1 b",
        "major_product_release_available": "true", "major_product_release_version": 25,
        "additional_gps_data_name": "Huts", "additional_gps_data_url": null,
        "unknown_key": {"anything": 1}})");
    QCOMPARE(info.productName, QString());
    QCOMPARE(info.notice, QString()); // blank notices are never shown
    QCOMPARE(info.regionId, 0);
    QVERIFY(info.basecampPcDownload.isEmpty());
    QCOMPARE(info.basecampPcMd5, QString());
    QVERIFY(info.changelogUrl.isValid()); // the tolerant parser accepts the blank
    QCOMPARE(info.changelogUrl.query(QUrl::FullyDecoded), QStringLiteral("a=1 b"));
    QCOMPARE(info.majorProductReleaseAvailable, false);
    QCOMPARE(info.majorProductReleaseVersion, 25);
    QCOMPARE(info.additionalGpsDataName, QStringLiteral("Huts"));
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
    QVERIFY(info.sdSubProducts[1].map.isEmpty());
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
    QTest::newRow("empty array") << QByteArray("[]") << Kind::Corrupted << corrupted << QString();
    QTest::newRow("cut short") << QByteArray(R"({"product_name":"To)") << Kind::Corrupted
                               << corrupted << QString();
    QTest::newRow("empty body") << QByteArray() << Kind::Corrupted << corrupted << QString();
    QTest::newRow("bad sub-product")
        << QByteArray(R"({"subproducts_SD":[7]})") << Kind::Corrupted << corrupted << QString();
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
    }
}

void TestProductInfo::requestAddressKeepsEachValueWhole_data()
{
    QTest::addColumn<QString>("serial");
    QTest::newRow("plain") << "HALV-PC-0001";
    QTest::newRow("ampersand and blanks") << "AB & CD&language=XX";
    QTest::newRow("delimiters") << "a=b#c?d+e%20f;g/h";
    QTest::newRow("non-ASCII") << "Sérié–42 ü";
}

void TestProductInfo::requestAddressKeepsEachValueWhole()
{
    QFETCH(QString, serial);
    qputenv("HALVORNSYNC_SERVICE_URL", "http://127.0.0.1:9/");
    const QUrl url = ServiceRequests::productInfoUrl(serial, QStringLiteral("FR"));
    QCOMPARE(url.path(), QStringLiteral("/api/v2/"));
    QCOMPARE(url.host(), QStringLiteral("127.0.0.1"));
    using Items = QList<std::pair<QString, QString>>;
    const Items expected{{"action", "get_info"},
                         {"serial_number", serial},
                         {"language", "FR"},
                         {"halvornsync_version", "2.2.2"}};
    QCOMPARE(QUrlQuery(url).queryItems(QUrl::FullyDecoded), expected);
}

void TestProductInfo::reportAddresses_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QVersionNumber>("latest");
    QTest::addColumn<QVersionNumber>("card");
    QTest::addColumn<int>("cardIndex");
    QTest::addColumn<QString>("expectedQuery");
    QTest::newRow("computer") << "update_info_pc" << QVersionNumber(24, 2, 1)
                              << QVersionNumber(1, 1, 1) << 0
                              << "action=update_info_pc&serial_number=S%26N&pc_version_major=24&"
                                 "pc_version_minor=2&pc_version_update=1&language=EN";
    QTest::newRow("computer, one segment")
        << "update_info_pc" << QVersionNumber(24) << QVersionNumber() << 0
        << "action=update_info_pc&serial_number=S%26N&"
           "pc_version_major=24&pc_version_minor=0&"
           "pc_version_update=0&language=EN";
    QTest::newRow("card version sends the latest")
        << "update_info_sd" << QVersionNumber(3, 10) << QVersionNumber(3, 9, 9) << 0
        << "action=update_info_sd&serial_number=S%26N&sd_version_major=3&sd_version_minor=10&"
           "sd_version_update=0&language=EN";
    QTest::newRow("card transfer sends the card version and the card's name")
        << "transfer_sd" << QVersionNumber(24, 2, 0) << QVersionNumber(23, 4, 1) << 1
        << "action=transfer_sd&serial_number=S%26N&product_name_sd=Card%202%20%26%20more&"
           "sd_version_major=23&sd_version_minor=4&sd_version_update=1&language=EN";
    QTest::newRow("card transfer for a card the product lacks")
        << "transfer_sd" << QVersionNumber(24, 2, 0) << QVersionNumber() << 2
        << "action=transfer_sd&serial_number=S%26N&product_name_sd=&sd_version_major=0&"
           "sd_version_minor=0&sd_version_update=0&language=EN";
}

void TestProductInfo::reportAddresses()
{
    QFETCH(QString, action);
    QFETCH(QVersionNumber, latest);
    QFETCH(QVersionNumber, card);
    QFETCH(int, cardIndex);
    QFETCH(QString, expectedQuery);
    qputenv("HALVORNSYNC_SERVICE_URL", "https://service.example.invalid");
    ProductInfo info;
    info.productSerial = QStringLiteral("S&N");
    info.latestVersion = latest;
    info.sdVersion = card;
    info.sdSubProducts = {{QStringLiteral("Card 1"), {}, {}, 1},
                          {QStringLiteral("Card 2 & more"), {}, {}, 2}};
    const QString language = QStringLiteral("EN");
    const QUrl url = action == QLatin1String("update_info_pc")
                         ? ServiceRequests::pcVersionReportUrl(info, language)
                     : action == QLatin1String("update_info_sd")
                         ? ServiceRequests::sdVersionReportUrl(info, language)
                         : ServiceRequests::sdTransferReportUrl(info, cardIndex, language);
    QCOMPARE(url.toString(QUrl::FullyEncoded),
             QStringLiteral("https://service.example.invalid/api/v2/?") + expectedQuery);
}

HALVORNSYNC_TEST_MAIN(TestProductInfo)
#include "tst_productinfo.moc"
