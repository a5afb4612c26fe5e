#include "app/WebLink.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QUrl>

namespace WebLink {

bool isWebAddress(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("https") || scheme == QLatin1String("http"));
}

void open(const QUrl &url)
{
    if (isWebAddress(url)) {
        QDesktopServices::openUrl(url);
    }
}

void openOnClick(QAbstractButton *button, const QUrl &url)
{
    QObject::connect(button, &QAbstractButton::clicked, button, [url] { open(url); });
}

} // namespace WebLink
