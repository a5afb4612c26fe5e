#include "service/ServiceRequests.h"

#include "halvornsync/Version.h"
#include "service/ProductInfo.h"
#include "service/ServiceAddress.h"

#include <QVersionNumber>

#include <initializer_list>
#include <utility>

namespace ServiceRequests {

namespace {
using Parameter = std::pair<const char *, QString>;

QUrl actionUrl(const char *action, std::initializer_list<Parameter> parameters)
{
    QString address = serviceBaseUrl().toString(QUrl::FullyEncoded);
    address += QLatin1String("/api/v2/?action=") + QLatin1String(action);
    for (const Parameter &parameter : parameters) {
        address += QLatin1Char('&') + QLatin1String(parameter.first) + QLatin1Char('=') +
                   QString::fromLatin1(QUrl::toPercentEncoding(parameter.second));
    }
    return QUrl(address, QUrl::StrictMode);
}

QString segment(const QVersionNumber &version, int index)
{
    return QString::number(version.segmentAt(index));
}
} // namespace

QUrl productInfoUrl(const QString &serial, const QString &language)
{
    return actionUrl("get_info", {{"serial_number", serial},
                                  {"language", language},
                                  {"halvornsync_version", QLatin1String(ProgramVersion::release)}});
}

QUrl pcVersionReportUrl(const ProductInfo &info, const QString &language)
{
    const QVersionNumber &version = info.latestVersion;
    return actionUrl("update_info_pc", {{"serial_number", info.productSerial},
                                        {"pc_version_major", segment(version, 0)},
                                        {"pc_version_minor", segment(version, 1)},
                                        {"pc_version_update", segment(version, 2)},
                                        {"language", language}});
}

QUrl sdVersionReportUrl(const ProductInfo &info, const QString &language)
{
    // The card now carries the latest version, so that is the one reported.
    const QVersionNumber &version = info.latestVersion;
    return actionUrl("update_info_sd", {{"serial_number", info.productSerial},
                                        {"sd_version_major", segment(version, 0)},
                                        {"sd_version_minor", segment(version, 1)},
                                        {"sd_version_update", segment(version, 2)},
                                        {"language", language}});
}

QUrl sdTransferReportUrl(const ProductInfo &info, int cardIndex, const QString &language)
{
    // The service expects the card version it had on record here, not the latest one.
    const QVersionNumber &version = info.sdVersion;
    const QString cardName = cardIndex >= 0 && cardIndex < info.sdSubProducts.size()
                                 ? info.sdSubProducts.at(cardIndex).name
                                 : QString();
    return actionUrl("transfer_sd", {{"serial_number", info.productSerial},
                                     {"product_name_sd", cardName},
                                     {"sd_version_major", segment(version, 0)},
                                     {"sd_version_minor", segment(version, 1)},
                                     {"sd_version_update", segment(version, 2)},
                                     {"language", language}});
}

} // namespace ServiceRequests
