#pragma once

#include <QString>
#include <QUrl>

class ProductInfo;

// Addresses of the four requests to the vendor's service. Parameters keep the service's order, and
// every value is percent-encoded: a serial or card name holding "&", "=", "#" or spaces stays one
// value and can never add or change a parameter. A version segment the version lacks is sent as 0.
namespace ServiceRequests {

QUrl productInfoUrl(const QString &serial, const QString &language);
QUrl pcVersionReportUrl(const ProductInfo &info, const QString &language);
QUrl sdVersionReportUrl(const ProductInfo &info, const QString &language);
// The card at cardIndex is the one just written; an index outside the card list sends an empty
// card name rather than failing.
QUrl sdTransferReportUrl(const ProductInfo &info, int cardIndex, const QString &language);

} // namespace ServiceRequests
