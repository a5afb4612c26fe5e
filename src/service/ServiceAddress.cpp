#include "service/ServiceAddress.h"

#include <QString>

QUrl serviceBaseUrl()
{
    QString address = qEnvironmentVariable("HALVORNSYNC_SERVICE_URL");
    if (address.isEmpty()) {
        address = QStringLiteral(HALVORNSYNC_DEFAULT_SERVICE_URL);
    }
    while (address.endsWith(QLatin1Char('/'))) {
        address.chop(1);
    }
    return QUrl(address);
}
