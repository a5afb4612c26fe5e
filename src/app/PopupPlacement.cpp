#include "app/PopupPlacement.h"

#include "app/Core.h"

#include <QWidget>

namespace PopupPlacement {

void centreOnMainWindow(QWidget *popup)
{
    if (QWidget *window = Core::mainWindow()) {
        popup->move(window->geometry().center() - popup->rect().center());
    }
}

} // namespace PopupPlacement
