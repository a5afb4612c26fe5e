#include "app/Pictures.h"

#include <QGuiApplication>
#include <QLabel>
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

QLabel *helpPictureLabel(const QString &resource, QWidget *parent)
{
    const QPixmap picture(resource);
    auto *label = new QLabel(parent);
    label->setPixmap(picture);
    label->setFixedSize(picture.deviceIndependentSize().toSize() + QSize(24, 24));
    label->setContentsMargins(12, 12, 12, 12);
    return label;
}
