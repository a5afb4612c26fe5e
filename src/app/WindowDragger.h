#pragma once

#include <QPoint>

class QMouseEvent;
class QWidget;

// Lets a frameless window be dragged by any point that is not a push button.
class WindowDragger
{
public:
    void press(QWidget *window, QMouseEvent *event);
    void release();
    void move(QWidget *window, QMouseEvent *event);

    bool isDragging() const { return m_dragging; }

private:
    QPoint m_dragOffset;
    bool m_dragging = false;
};
