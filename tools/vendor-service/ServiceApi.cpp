#include "ServiceApi.h"

#include "Catalogue.h"
#include "HttpConnection.h"
#include "ReportLog.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUrlQuery>

namespace {
const QByteArray jsonType = QByteArrayLiteral("application/json");
}

ServiceApi::ServiceApi(const Catalogue &catalogue, ReportLog &log)
    : m_catalogue(catalogue)
    , m_log(log)
{
}

void ServiceApi::handle(HttpConnection *connection, const HttpRequest &request,
                        const QString &origin)
{
    // Decoded like a submitted form, as the vendor's own back end does: a "+" is a blank there, so
    // a client that leaves one unencoded gets it changed.
    QString formQuery = request.target.query(QUrl::FullyEncoded);
    formQuery.replace(QLatin1Char('+'), QLatin1String("%20"));
    const QUrlQuery query(formQuery);
    QJsonObject entry;
    const auto items = query.queryItems(QUrl::FullyDecoded);
    for (const auto &[key, value] : items) {
        // A repeated key is kept as a list, so a request that smuggled in a parameter shows it.
        if (entry.contains(key)) {
            QJsonArray values = entry.value(key).isArray() ? entry.value(key).toArray()
                                                           : QJsonArray{entry.value(key)};
            values.append(value);
            entry.insert(key, values);
        } else {
            entry.insert(key, value);
        }
    }
    entry.insert(QStringLiteral("received_at"),
                 QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    m_log.append(entry);

    const QString action = query.queryItemValue(QStringLiteral("action"), QUrl::FullyDecoded);
    const QString serial =
        query.queryItemValue(QStringLiteral("serial_number"), QUrl::FullyDecoded);
    if (action == QLatin1String("get_info")) {
        answerProductInfo(connection, serial, origin);
    } else if (action == QLatin1String("update_info_pc") ||
               action == QLatin1String("update_info_sd") ||
               action == QLatin1String("transfer_sd")) {
        answerReport(connection, serial);
    } else {
        connection->respond(400, "Error: unknown action\n");
    }
}

void ServiceApi::answerProductInfo(HttpConnection *connection, const QString &serial,
                                   const QString &origin)
{
    const SampleProduct *product = m_catalogue.product(serial);
    if (!product) {
        connection->respond(200, "Error: Unknown serial number: " + serial.toUtf8() + '\n');
        return;
    }
    const QJsonObject object = Catalogue::resolved(product->json, origin);
    using Reply = SampleProduct::Reply;
    switch (product->reply) {
    case Reply::Object:
        connection->respond(200, QJsonDocument(object).toJson(), jsonType);
        break;
    case Reply::ArrayOfObject:
        connection->respond(200, QJsonDocument(QJsonArray{object}).toJson(), jsonType);
        break;
    case Reply::EmptyArray:
        connection->respond(200, "[]", jsonType);
        break;
    case Reply::ArrayOfNumber:
        connection->respond(200, "[5]", jsonType);
        break;
    case Reply::ServiceError:
        connection->respond(200, "Error:" + product->errorText.toUtf8());
        break;
    case Reply::CorruptJson: {
        const QByteArray whole = QJsonDocument(object).toJson();
        connection->respond(200, whole.left(whole.size() / 2), jsonType);
        break;
    }
    case Reply::HttpError:
        connection->respond(503, "the service is down for maintenance\n");
        break;
    case Reply::Silent:
        connection->hold();
        break;
    case Reply::StopsMidBody:
        connection->respondHalf(200, QJsonDocument(object).toJson(), jsonType);
        break;
    }
}

void ServiceApi::answerReport(HttpConnection *connection, const QString &serial)
{
    const SampleProduct *product = m_catalogue.product(serial);
    const auto reports = product ? product->reports : SampleProduct::Reports::Accept;
    switch (reports) {
    case SampleProduct::Reports::Accept:
        connection->respond(200, "OK\n");
        break;
    case SampleProduct::Reports::Fail:
        connection->respond(500, "the report could not be stored\n");
        break;
    case SampleProduct::Reports::Hang:
        connection->hold();
        break;
    }
}
