#include "service/ServiceAddress.h"

#include <QHostAddress>

QUrl acceptedServiceAddress(QString address)
{
    if (address.endsWith(QLatin1Char('/'))) {
        address.chop(1);
    }
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || !url.userInfo().isEmpty() ||
        !url.path().isEmpty() || url.hasQuery() || url.hasFragment()) {
        return {};
    }
    if (url.scheme() == QLatin1String("https")) {
        return url;
    }
    const QHostAddress host(url.host());
    const bool loopback = host.isLoopback() || url.host() == QLatin1String("localhost");
    return url.scheme() == QLatin1String("http") && loopback ? url : QUrl();
}

QUrl serviceBaseUrl()
{
    QString builtInText = QStringLiteral(HALVORNSYNC_DEFAULT_SERVICE_URL);
    while (builtInText.endsWith(QLatin1Char('/'))) {
        builtInText.chop(1);
    }
    const QUrl builtIn(builtInText);
    const QString override = qEnvironmentVariable("HALVORNSYNC_SERVICE_URL");
    if (override.isEmpty()) {
        return builtIn;
    }
    const QUrl accepted = acceptedServiceAddress(override);
    if (accepted.isEmpty()) {
        // Every request asks again; saying it once per address is enough.
        static QString s_refused;
        if (override != s_refused) {
            s_refused = override;
            qWarning().noquote() << "HALVORNSYNC_SERVICE_URL refused (only https://host[:port], "
                                    "or http:// to a loopback address):"
                                 << override;
        }
        return builtIn;
    }
    return accepted;
}
