#include "app/OverlayWidget.h"

#include <QEvent>
#include <QPainter>
#include <QResizeEvent>

OverlayWidget::OverlayWidget(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoMousePropagation);
    if (parent) {
        parent->installEventFilter(this);
        resize(parent->size());
        raise();
    }
}

bool OverlayWidget::eventFilter(QObject *object, QEvent *event)
{
    if (object == parent()) {
        if (event->type() == QEvent::Resize) {
            resize(static_cast<QResizeEvent *>(event)->size());
        } else if (event->type() == QEvent::ChildAdded) {
            raise();
        }
    }
    return false;
}

void OverlayWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(212, 212, 212, 218));
}
