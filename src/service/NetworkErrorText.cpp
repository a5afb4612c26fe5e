#include "service/NetworkErrorText.h"

#include <QNetworkProxy>
#include <QNetworkReply>

QString NetworkErrorText::of(const QNetworkReply *reply)
{
    if (reply->error() == QNetworkReply::ProxyAuthenticationRequiredError) {
        // The proxy the system chose for this address: the user can tell whoever runs it.
        const QNetworkProxy proxy =
            QNetworkProxyFactory::proxyForQuery(QNetworkProxyQuery(reply->url())).value(0);
        return tr("The proxy server %1 asks for a user name and password, which HalvornSync "
                  "cannot give. Please ask whoever looks after your network to let HalvornSync "
                  "through, or use a connection without a proxy.")
            .arg(QStringLiteral("%1:%2").arg(proxy.hostName()).arg(proxy.port()));
    }
    return reply->errorString();
}
