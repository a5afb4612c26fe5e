#include "app/Pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

QPixmap renderPicture(const QString &resource, QSize size)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    if (!resource.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        QPixmap pixmap =
            QPixmap(resource).scaled(size * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        pixmap.setDevicePixelRatio(ratio);
        return pixmap;
    }
    QPixmap pixmap(size * ratio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}
