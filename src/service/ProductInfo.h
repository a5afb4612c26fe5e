#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <QVersionNumber>

// The computer map of a product: its archive and the family identifiers that recognise an
// installed copy.
struct PcSubProduct
{
    QUrl map;
    QString md5;
    QList<qint32> fids;
    QList<qint32> removeFids;
};

// The product record the vendor service describes. Only what the Garmin hand-off reads is here so
// far; the rest of its fields arrive with the service requests.
class ProductInfo
{
public:
    ProductInfo() = default;
    virtual ~ProductInfo() = default;

    PcSubProduct pcSubProduct;
    bool isPcFormat = false;
    QVersionNumber latestVersion;
};
