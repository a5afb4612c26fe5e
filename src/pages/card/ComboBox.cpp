#include "pages/card/ComboBox.h"

#include <QPainter>
#include <QStyleOptionComboBox>

QString ComboBox::placeholderText()
{
    return tr("No drive detected");
}

void ComboBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setPen(palette().color(QPalette::Text));

    QStyleOptionComboBox option;
    initStyleOption(&option);
    style()->drawComplexControl(QStyle::CC_ComboBox, &option, &painter, this);

    QRect textRect = style()->proxy()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, this);
    painter.save();
    painter.setClipRect(textRect);
    if (!option.currentIcon.isNull()) {
        const QIcon::Mode mode =
            option.state & QStyle::State_Enabled ? QIcon::Normal : QIcon::Disabled;
        const QPixmap icon = option.currentIcon.pixmap(option.iconSize, devicePixelRatio(), mode);
        QRect iconRect(textRect);
        iconRect.setWidth(option.iconSize.width() + 4);
        iconRect = QStyle::alignedRect(option.direction, Qt::AlignLeft | Qt::AlignVCenter,
                                       iconRect.size(), textRect);
        if (option.editable) {
            painter.fillRect(iconRect, option.palette.brush(QPalette::Base));
        }
        style()->proxy()->drawItemPixmap(&painter, iconRect, Qt::AlignCenter, icon);
        if (option.direction == Qt::RightToLeft) {
            textRect.translate(-4 - option.iconSize.width(), 0);
        } else {
            textRect.translate(option.iconSize.width() + 4, 0);
        }
    }
    if (currentIndex() == -1) {
        option.currentText = placeholderText();
        painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    }
    style()->proxy()->drawItemText(
        &painter, textRect.adjusted(1, 0, -1, 0),
        QStyle::visualAlignment(option.direction, Qt::AlignLeft | Qt::AlignVCenter), option.palette,
        option.state & QStyle::State_Enabled, option.currentText, QPalette::NoRole);
    painter.restore();
}
