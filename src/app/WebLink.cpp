#include "app/WebLink.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QUrl>

namespace WebLink {

void openOnClick(QAbstractButton *button, const QUrl &url)
{
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [url] { QDesktopServices::openUrl(url); });
}

} // namespace WebLink
