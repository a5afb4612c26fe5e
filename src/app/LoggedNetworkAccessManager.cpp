#include "app/LoggedNetworkAccessManager.h"

#include "app/SupportLog.h"

#include <QNetworkRequest>

QNetworkReply *LoggedNetworkAccessManager::createRequest(Operation operation,
                                                         const QNetworkRequest &request,
                                                         QIODevice *outgoingData)
{
    const char *verb = operation == HeadOperation  ? "HEAD"
                       : operation == GetOperation ? "GET"
                                                   : "SEND";
    SupportLog::write(QStringLiteral("request: %1 %2")
                          .arg(QLatin1String(verb), request.url().toString(QUrl::FullyEncoded)));
    return QNetworkAccessManager::createRequest(operation, request, outgoingData);
}
