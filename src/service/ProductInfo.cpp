#include "service/ProductInfo.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>

namespace {
QString text(const QJsonObject &object, QLatin1String key)
{
    return object.value(key).toString();
}

QUrl url(const QJsonObject &object, QLatin1String key)
{
    return QUrl(object.value(key).toString(), QUrl::TolerantMode);
}

// Only JSON numbers with an integral value that fits count; strings, fractions and the rest are 0.
qint32 integer(const QJsonValue &value)
{
    return value.toInt(0);
}

qint32 integer(const QJsonObject &object, QLatin1String key)
{
    return integer(object.value(key));
}

QVersionNumber version(const QJsonObject &object, QLatin1String prefix)
{
    const QString base = QString(prefix);
    const int update = integer(object.value(base + QLatin1String("update")));
    const int minor = integer(object.value(base + QLatin1String("minor")));
    const int major = integer(object.value(base + QLatin1String("major")));
    return QVersionNumber(major, minor, update);
}

QList<qint32> integers(const QJsonArray &array)
{
    QList<qint32> result;
    result.reserve(array.size());
    for (const QJsonValue &value : array) {
        result.append(integer(value));
    }
    return result;
}
} // namespace

QString ProductInfo::corruptedMessage()
{
    return tr("Corrupted product info detected");
}

void ProductInfo::fromJson(const QJsonObject &object)
{
    productName = text(object, QLatin1String("product_name"));
    notice = text(object, QLatin1String("notice")).trimmed();

    const QJsonValue format = object.value(QLatin1String("format"));
    isPcFormat =
        (format.isString() ? format.toString() : QStringLiteral("SD")) != QLatin1String("SD");

    regionId = integer(object, QLatin1String("region_id"));
    latestVersion = version(object, QLatin1String("latest_version_"));

    basecampPcDownload = url(object, QLatin1String("basecamp_pc_download"));
    basecampPcMd5 = text(object, QLatin1String("basecamp_pc_md5"));
    basecampMacDownload = url(object, QLatin1String("basecamp_mac_download"));
    basecampMacMd5 = text(object, QLatin1String("basecamp_mac_md5"));

    sdVersion = version(object, QLatin1String("sd_version_"));

    const QJsonArray cards = object.value(QLatin1String("subproducts_SD")).toArray();
    for (const QJsonValue &card : cards) {
        if (!card.isObject()) {
            throw corruptedMessage();
        }
        const QJsonObject entry = card.toObject();
        sdSubProducts.append({text(entry, QLatin1String("name")), url(entry, QLatin1String("map")),
                              text(entry, QLatin1String("md5")),
                              integer(entry, QLatin1String("fid"))});
    }

    const QJsonArray computer = object.value(QLatin1String("subproducts_PC")).toArray();
    if (!computer.isEmpty()) {
        if (!computer.first().isObject()) {
            throw corruptedMessage();
        }
        const QJsonObject entry = computer.first().toObject();
        pcSubProduct.map = url(entry, QLatin1String("map"));
        pcSubProduct.md5 = text(entry, QLatin1String("md5"));

        const QJsonValue fid = entry.value(QLatin1String("fid"));
        if (fid.isArray()) {
            pcSubProduct.fids = integers(fid.toArray());
        } else {
            pcSubProduct.fids.append(integer(fid));
        }

        // A single value of 0 or below means "nothing to remove"; inside a list every value counts.
        const QJsonValue removeFid = entry.value(QLatin1String("remove_fid"));
        if (removeFid.isArray()) {
            pcSubProduct.removeFids = integers(removeFid.toArray());
        } else if (!removeFid.isUndefined() && !removeFid.isNull() && integer(removeFid) >= 1) {
            pcSubProduct.removeFids.append(integer(removeFid));
        }
    }

    changelogUrl = url(object, QLatin1String("changelog_url"));
    termsOfUseUrl = url(object, QLatin1String("terms_of_use_url"));
    exchangePolicyUrl = url(object, QLatin1String("exchange_policy_url"));
    updateGpsFirmwareUrl = url(object, QLatin1String("update_gps_firmware_url"));

    additionalGpsDataName = text(object, QLatin1String("additional_gps_data_name"));
    additionalGpsDataUrl = url(object, QLatin1String("additional_gps_data_url"));
    additionalGpsDataInstructions = url(object, QLatin1String("additional_gps_data_instructions"));

    majorProductReleaseAvailable =
        object.value(QLatin1String("major_product_release_available")).toBool(false);
    majorProductReleaseUrl = url(object, QLatin1String("major_product_release_url"));
    majorProductReleaseVersion = integer(object, QLatin1String("major_product_release_version"));

    latestNewerThanSd = QVersionNumber::compare(latestVersion, sdVersion) > 0;
}
