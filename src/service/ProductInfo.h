#pragma once

#include "service/PcSubProduct.h"
#include "service/SdSubProduct.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QUrl>
#include <QVersionNumber>

class QJsonObject;

// Everything the vendor's service says about one product. Built once from a product-information
// reply, then owned by Core and only read: the fields are plain data so pages (and tests) read them
// without ceremony.
class ProductInfo
{
    Q_DECLARE_TR_FUNCTIONS(ProductInfo)

public:
    ProductInfo() = default;
    virtual ~ProductInfo() = default;

    // Fills the record from the service's product object. Throws the translated text
    // "Corrupted product info detected" (a QString) when a sub-product is not an object; every
    // other malformed value quietly takes its default.
    void fromJson(const QJsonObject &object);

    static QString corruptedMessage();

    QList<SdSubProduct> sdSubProducts;
    PcSubProduct pcSubProduct;
    QString productName;
    QString notice;
    bool isPcFormat = false;
    QUrl basecampPcDownload;
    QString basecampPcMd5;
    QUrl basecampMacDownload;
    QString basecampMacMd5;
    QUrl updateGpsFirmwareUrl;
    QUrl changelogUrl;
    QUrl termsOfUseUrl;
    QUrl exchangePolicyUrl;
    QString productSerial;
    QString additionalGpsDataName;
    QUrl additionalGpsDataUrl;
    QUrl additionalGpsDataInstructions;
    QUrl majorProductReleaseUrl;
    QVersionNumber latestVersion;
    QVersionNumber sdVersion;
    qint32 regionId = 0;
    qint32 majorProductReleaseVersion = 0;
    bool majorProductReleaseAvailable = false;
    bool latestNewerThanSd = false;
};
