#include "app/WindowDragger.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>

void WindowDragger::press(QWidget *window, QMouseEvent *event)
{
    const QPoint global = event->globalPosition().toPoint();
    // Any mouse button starts a drag, but a press on a button is a click, not a drag.
    m_dragging = !qobject_cast<QPushButton *>(QApplication::widgetAt(global));
    m_dragOffset = global - window->pos();
}

void WindowDragger::release()
{
    m_dragging = false;
}

void WindowDragger::move(QWidget *window, QMouseEvent *event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        window->move(event->globalPosition().toPoint() - m_dragOffset);
    }
}
