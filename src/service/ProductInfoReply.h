#pragma once

#include "service/ProductInfo.h"

#include <QByteArray>
#include <QString>

#include <memory>

// What the body of a product-information reply means: a product record, a failure the service
// reported itself ("Error:" followed by its message), or a body that is not usable product
// information. Pure, so every shape of body can be tried without a network.
struct ProductInfoReply
{
    enum class Kind
    {
        Product,
        ServiceError,
        Corrupted
    };

    static ProductInfoReply interpret(const QByteArray &body);

    Kind kind = Kind::Corrupted;
    QString message;                      // ServiceError and Corrupted: the text to show
    std::unique_ptr<ProductInfo> product; // Product: the filled record, without its serial
};
