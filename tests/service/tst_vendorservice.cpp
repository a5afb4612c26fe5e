// The stand-in vendor service is what every network test and the demo stand on: these tests make
// sure it serves what its catalogue announces, and fails the way its fault products promise.

#include "TestMain.h"
#include "VendorServiceProcess.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSignalSpy>

#include <archive.h>
#include <archive_entry.h>
#include <memory>

namespace {
struct Fetched
{
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    int status = 0;
    qint64 contentLength = -1;
    QByteArray body;
};

Fetched fetch(QNetworkAccessManager &manager, const QUrl &url, bool head = false)
{
    QNetworkRequest request(url);
    std::unique_ptr<QNetworkReply> reply(head ? manager.head(request) : manager.get(request));
    QSignalSpy finished(reply.get(), &QNetworkReply::finished);
    if (!finished.wait(30000)) {
        return {QNetworkReply::TimeoutError, 0, -1, {}};
    }
    return {reply->error(), reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
            reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(), reply->readAll()};
}

// The Info.xml files of a zip, by path.
QMap<QString, QByteArray> infoFiles(const QByteArray &zip)
{
    QMap<QString, QByteArray> result;
    archive *reader = archive_read_new();
    archive_read_support_format_zip(reader);
    if (archive_read_open_memory(reader, zip.constData(), size_t(zip.size())) == ARCHIVE_OK) {
        archive_entry *entry = nullptr;
        while (archive_read_next_header(reader, &entry) == ARCHIVE_OK) {
            const QString path = QString::fromUtf8(archive_entry_pathname(entry));
            if (path.endsWith(QLatin1String("/Info.xml"))) {
                QByteArray content(int(archive_entry_size(entry)), Qt::Uninitialized);
                archive_read_data(reader, content.data(), size_t(content.size()));
                result.insert(path, content);
            }
        }
    }
    archive_read_free(reader);
    return result;
}

QString element(const QByteArray &xml, const QString &pattern)
{
    return QRegularExpression(pattern).match(QString::fromUtf8(xml)).captured(1);
}
} // namespace

class TestVendorService : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void filesMatchTheirAnnouncedSizeAndChecksum_data();
    void filesMatchTheirAnnouncedSizeAndChecksum();
    void computerMapHoldsHalvornFoldersWithInfoXml();
    void cardImagesCarryTheirFamilyNumberAtByte4613();
    void faultyDownloads_data();
    void faultyDownloads();
    void reusesFilesMadeWithTheSameRecipe();

private:
    QJsonObject productInfo(const QString &serial);

    VendorServiceProcess m_service;
    QNetworkAccessManager m_manager;
};

void TestVendorService::initTestCase()
{
    QVERIFY2(m_service.start(), qPrintable(m_service.errorString()));
}

QJsonObject TestVendorService::productInfo(const QString &serial)
{
    const Fetched answer = fetch(
        m_manager, QUrl(m_service.baseUrl().toString() +
                        QStringLiteral("/api/v2/?action=get_info&serial_number=%1&language=EN&"
                                       "halvornsync_version=2.2.2")
                            .arg(serial)));
    return QJsonDocument::fromJson(answer.body).object();
}

void TestVendorService::filesMatchTheirAnnouncedSizeAndChecksum_data()
{
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("urlPath");
    QTest::addColumn<QString>("md5Path");
    QTest::newRow("computer map") << "HALV-PC-0001"
                                  << "subproducts_PC/0/map"
                                  << "subproducts_PC/0/md5";
    QTest::newRow("first card") << "HALV-SD-0002"
                                << "subproducts_SD/0/map"
                                << "subproducts_SD/0/md5";
    QTest::newRow("second card") << "HALV-SD-0002"
                                 << "subproducts_SD/1/map"
                                 << "subproducts_SD/1/md5";
    QTest::newRow("card product's computer map") << "HALV-SD-0002"
                                                 << "subproducts_PC/0/map"
                                                 << "subproducts_PC/0/md5";
    QTest::newRow("BaseCamp installer") << "HALV-PC-0001"
                                        << "basecamp_pc_download"
                                        << "basecamp_pc_md5";
    QTest::newRow("slowly served map") << "HALV-SLOW-0006"
                                       << "subproducts_PC/0/map"
                                       << "subproducts_PC/0/md5";
}

void TestVendorService::filesMatchTheirAnnouncedSizeAndChecksum()
{
    QFETCH(QString, serial);
    QFETCH(QString, urlPath);
    QFETCH(QString, md5Path);
    const QJsonObject product = productInfo(serial);
    const auto at = [&product](const QString &path) {
        QJsonValue value = product;
        for (const QString &part : path.split(QLatin1Char('/'))) {
            bool index = false;
            const int i = part.toInt(&index);
            value = index ? value.toArray().at(i) : value.toObject().value(part);
        }
        return value.toString();
    };
    const QUrl url(at(urlPath));
    QVERIFY2(url.toString().startsWith(m_service.baseUrl().toString()), qPrintable(url.toString()));

    const Fetched head = fetch(m_manager, url, true);
    const Fetched get = fetch(m_manager, url);
    QCOMPARE(get.error, QNetworkReply::NoError);
    QVERIFY(head.body.isEmpty());
    QCOMPARE(head.contentLength, get.body.size());
    QVERIFY(get.body.size() > 0);
    QCOMPARE(
        QString::fromLatin1(QCryptographicHash::hash(get.body, QCryptographicHash::Md5).toHex()),
        at(md5Path));
}

void TestVendorService::computerMapHoldsHalvornFoldersWithInfoXml()
{
    const QJsonObject product = productInfo(QStringLiteral("HALV-PC-0001"));
    const QJsonObject computer =
        product.value(QLatin1String("subproducts_PC")).toArray().first().toObject();
    const Fetched zip = fetch(m_manager, QUrl(computer.value(QLatin1String("map")).toString()));
    QCOMPARE(zip.error, QNetworkReply::NoError);

    const QMap<QString, QByteArray> infos = infoFiles(zip.body);
    QCOMPARE(infos.size(), 2);
    QList<int> ids;
    for (auto it = infos.cbegin(); it != infos.cend(); ++it) {
        QVERIFY2(it.key().startsWith(QLatin1String("Halvorn")), qPrintable(it.key()));
        ids.append(element(it.value(), QStringLiteral("<ID>(\\d+)</ID>")).toInt());
        QVERIFY(element(it.value(), QStringLiteral("<SubProduct>\\s*<Name>([^<]*)</Name>"))
                    .endsWith(QLatin1String(" 24.2.0")));
    }
    QJsonArray announced;
    for (int id : ids) {
        announced.append(id);
    }
    QCOMPARE(announced, computer.value(QLatin1String("fid")).toArray());
}

void TestVendorService::cardImagesCarryTheirFamilyNumberAtByte4613()
{
    const QJsonArray cards = productInfo(QStringLiteral("HALV-SD-0002"))
                                 .value(QLatin1String("subproducts_SD"))
                                 .toArray();
    QCOMPARE(cards.size(), 2);
    for (const QJsonValue &card : cards) {
        const Fetched image = fetch(m_manager, QUrl(card[QLatin1String("map")].toString()));
        bool ok = false;
        const int family = image.body.mid(4613, 4).toInt(&ok, 16);
        QVERIFY(ok);
        QCOMPARE(family, card[QLatin1String("fid")].toInt());
    }
}

void TestVendorService::faultyDownloads_data()
{
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QNetworkReply::NetworkError>("error");
    QTest::addColumn<bool>("cutShort");
    QTest::newRow("dropped connection")
        << "FAULT-DROP" << QNetworkReply::RemoteHostClosedError << true;
    QTest::newRow("HTTP error on GET")
        << "FAULT-MAP-HTTP-ERROR" << QNetworkReply::InternalServerError << true;
    QTest::newRow("wrong checksum, whole file")
        << "FAULT-WRONG-MD5" << QNetworkReply::NoError << false;
}

void TestVendorService::faultyDownloads()
{
    QFETCH(QString, serial);
    QFETCH(QNetworkReply::NetworkError, error);
    QFETCH(bool, cutShort);
    const QJsonObject computer =
        productInfo(serial).value(QLatin1String("subproducts_PC")).toArray().first().toObject();
    const QUrl url(computer.value(QLatin1String("map")).toString());

    const Fetched head = fetch(m_manager, url, true);
    QCOMPARE(head.error, QNetworkReply::NoError);
    QVERIFY(head.contentLength > 0);
    const Fetched get = fetch(m_manager, url);
    QCOMPARE(get.error, error);
    QCOMPARE(get.body.size() < head.contentLength, cutShort);
    const bool md5Matches =
        QString::fromLatin1(QCryptographicHash::hash(get.body, QCryptographicHash::Md5).toHex()) ==
        computer.value(QLatin1String("md5")).toString();
    QVERIFY(!md5Matches);
}

void TestVendorService::reusesFilesMadeWithTheSameRecipe()
{
    QTemporaryDir data;
    const QString map = data.filePath(QStringLiteral("halvorn-topo-norway.zip"));
    VendorServiceProcess::Options options;
    options.dataDir = data.path();
    options.mapSize = 100000;
    QDateTime firstWrite;
    qint64 firstSize = 0;
    {
        VendorServiceProcess first(options);
        QVERIFY2(first.start(), qPrintable(first.errorString()));
        firstWrite = QFileInfo(map).lastModified();
        firstSize = QFileInfo(map).size();
    }
    {
        // Backdated, so a rewrite would show even within the file system's time resolution.
        QFile file(map);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(firstWrite.addSecs(-3600), QFileDevice::FileModificationTime));
    }
    {
        VendorServiceProcess again(options);
        QVERIFY2(again.start(), qPrintable(again.errorString()));
        QCOMPARE(QFileInfo(map).lastModified(), firstWrite.addSecs(-3600));
    }
    options.mapSize = 50000;
    {
        VendorServiceProcess smaller(options);
        QVERIFY2(smaller.start(), qPrintable(smaller.errorString()));
        QVERIFY(QFileInfo(map).size() < firstSize);
    }
}

HALVORNSYNC_TEST_MAIN(TestVendorService)
#include "tst_vendorservice.moc"
