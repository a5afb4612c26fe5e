#include "app/WebLink.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QUrl>

namespace WebLink {

void open(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    if (url.isValid() && !url.host().isEmpty() &&
        (scheme == QLatin1String("https") || scheme == QLatin1String("http"))) {
        QDesktopServices::openUrl(url);
    }
}

void openOnClick(QAbstractButton *button, const QUrl &url)
{
    QObject::connect(button, &QAbstractButton::clicked, button, [url] { open(url); });
}

} // namespace WebLink
