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
    qint64 contentLength = -1;
    QByteArray body;
};

Fetched fetch(QNetworkAccessManager &manager, const QUrl &url, bool head = false)
{
    QNetworkRequest request(url);
    std::unique_ptr<QNetworkReply> reply(head ? manager.head(request) : manager.get(request));
    QSignalSpy finished(reply.get(), &QNetworkReply::finished);
    if (!finished.wait(30000)) {
        return {QNetworkReply::TimeoutError, -1, {}};
    }
    return {reply->error(), reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(),
            reply->readAll()};
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

    void filesMatchTheirAnnouncement_data();
    void filesMatchTheirAnnouncement();
    void mapsCarryTheAnnouncedFamilyNumbers();
    void remakesFilesWhenTheRecipeChanges();
    void queriesAreDecodedLikeAForm();

private:
    QJsonObject productInfo(const QString &serial);
    QJsonObject computerMap(const QString &serial)
    {
        return productInfo(serial)[QLatin1String("subproducts_PC")][0].toObject();
    }

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

// The other products' files, and the faults served instead of them, are fetched and checked by
// the end-to-end walks (tests/e2e): these are the ones no walk downloads.
void TestVendorService::filesMatchTheirAnnouncement_data()
{
    QTest::addColumn<QString>("serial");
    QTest::newRow("card product's computer map") << "HALV-SD-0002";
    QTest::newRow("slowly served map") << "HALV-SLOW-0006";
}

void TestVendorService::filesMatchTheirAnnouncement()
{
    QFETCH(QString, serial);
    const QJsonObject computer = computerMap(serial);
    const QUrl url(computer[QLatin1String("map")].toString());
    QVERIFY2(url.toString().startsWith(m_service.baseUrl().toString()), qPrintable(url.toString()));

    const Fetched head = fetch(m_manager, url, true);
    QCOMPARE(head.error, QNetworkReply::NoError);
    QVERIFY(head.body.isEmpty());
    QVERIFY(head.contentLength > 0);
    const Fetched get = fetch(m_manager, url);
    QCOMPARE(get.error, QNetworkReply::NoError);
    QCOMPARE(get.body.size(), head.contentLength);
    QCOMPARE(QCryptographicHash::hash(get.body, QCryptographicHash::Md5).toHex(),
             computer[QLatin1String("md5")].toString().toLatin1());
}

// The installed maps are recognised by these numbers, so they must be where the maps carry them.
void TestVendorService::mapsCarryTheAnnouncedFamilyNumbers()
{
    const QJsonObject computer = computerMap(QStringLiteral("HALV-PC-0001"));
    const Fetched zip = fetch(m_manager, QUrl(computer[QLatin1String("map")].toString()));
    const QMap<QString, QByteArray> infos = infoFiles(zip.body);
    QCOMPARE(infos.size(), 2);
    QJsonArray ids;
    for (auto it = infos.cbegin(); it != infos.cend(); ++it) {
        QVERIFY2(it.key().startsWith(QLatin1String("Halvorn")), qPrintable(it.key()));
        ids.append(element(it.value(), QStringLiteral("<ID>(\\d+)</ID>")).toInt());
        QVERIFY(element(it.value(), QStringLiteral("<SubProduct>\\s*<Name>([^<]*)</Name>"))
                    .endsWith(QLatin1String(" 24.2.0")));
    }
    QCOMPARE(ids, computer[QLatin1String("fid")].toArray());

    // A card image carries its family at byte 4613.
    const QJsonArray cards =
        productInfo(QStringLiteral("HALV-SD-0002"))["subproducts_SD"].toArray();
    QCOMPARE(cards.size(), 2);
    for (const QJsonValue &card : cards) {
        const Fetched image = fetch(m_manager, QUrl(card[QLatin1String("map")].toString()));
        bool ok = false;
        QCOMPARE(image.body.mid(4613, 4).toInt(&ok, 16), card[QLatin1String("fid")].toInt());
        QVERIFY(ok);
    }
}

void TestVendorService::remakesFilesWhenTheRecipeChanges()
{
    QTemporaryDir data;
    const QString map = data.filePath(QStringLiteral("halvorn-topo-norway.zip"));
    VendorServiceProcess::Options options;
    options.dataDir = data.path();
    // The map's size once a service with this map size has started on the same data folder.
    const auto mapSize = [&](qint64 size) {
        options.mapSize = size;
        VendorServiceProcess service(options);
        return service.start() ? QFileInfo(map).size() : qint64(-1);
    };
    const qint64 first = mapSize(100000);
    const qint64 second = mapSize(50000);
    QVERIFY(first > 0);
    QVERIFY(second > 0 && second < first);
}

void TestVendorService::queriesAreDecodedLikeAForm()
{
    productInfo(QStringLiteral("A+B_A%2BB_A%20B"));
    QCOMPARE(
        m_service.requests(QStringLiteral("get_info")).last().value("serial_number").toString(),
        QStringLiteral("A B_A+B_A B"));
}

HALVORNSYNC_TEST_MAIN(TestVendorService)
#include "tst_vendorservice.moc"
