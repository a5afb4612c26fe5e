#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

class QLabel;
class QWidget;

// Renders a picture resource (SVG or bitmap) at the given size, sharp on high-density screens.
QPixmap renderPicture(const QString &resource, QSize size);

// A label showing a help picture at its own size with a 12-pixel frame around it, for
// Core::showNeedHelp.
QLabel *helpPictureLabel(const QString &resource, QWidget *parent);
