#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

// Renders a picture resource (SVG or bitmap) at the given size, sharp on high-density screens.
QPixmap renderPicture(const QString &resource, QSize size);
