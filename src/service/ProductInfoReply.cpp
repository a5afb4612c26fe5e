#include "service/ProductInfoReply.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace {
const QByteArray serviceErrorPrefix = QByteArrayLiteral("Error:");

ProductInfoReply corrupted(const QString &message = ProductInfo::corruptedMessage())
{
    ProductInfoReply reply;
    reply.kind = ProductInfoReply::Kind::Corrupted;
    reply.message = message.isEmpty() ? ProductInfo::corruptedMessage() : message;
    return reply;
}
} // namespace

ProductInfoReply ProductInfoReply::interpret(const QByteArray &body)
{
    if (body.startsWith(serviceErrorPrefix)) {
        ProductInfoReply reply;
        reply.kind = Kind::ServiceError;
        reply.message = QString::fromUtf8(body.mid(serviceErrorPrefix.size()).trimmed());
        return reply;
    }

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError) {
        return corrupted();
    }
    QJsonObject object;
    if (document.isObject()) {
        object = document.object();
    } else if (document.isArray() && !document.array().isEmpty()) {
        // A first element that is not an object reads as an empty product.
        object = document.array().first().toObject();
    } else {
        return corrupted();
    }

    auto product = std::make_unique<ProductInfo>();
    try {
        product->fromJson(object);
    } catch (const QString &message) {
        return corrupted(message);
    } catch (...) {
        return corrupted();
    }
    ProductInfoReply reply;
    reply.kind = Kind::Product;
    reply.product = std::move(product);
    return reply;
}
