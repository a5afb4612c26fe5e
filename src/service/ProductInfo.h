#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <QVersionNumber>

// One preprogrammed card of a product.
struct SdSubProduct
{
    QString name;
    QUrl map;
    QString md5;
    qint32 fid = 0;
};

// The product record the vendor service describes. Only the fields that decide the wizard's
// route are here so far; the rest arrive with the service requests.
class ProductInfo
{
public:
    ProductInfo() = default;
    virtual ~ProductInfo() = default;

    QList<SdSubProduct> sdSubProducts;
    QString productName;
    bool isPcFormat = false;
    QUrl additionalGpsDataUrl;
    QString additionalGpsDataName;
    QVersionNumber latestVersion;
    bool majorProductReleaseAvailable = false;
    bool latestNewerThanSd = false;
};
