#include "app/WindowOverlay.h"

#include "app/Core.h"

namespace WindowOverlay {

QPointer<QWidget> dim()
{
    QWidget *window = Core::mainWindow();
    if (window) {
        QMetaObject::invokeMethod(window, "setOverlayVisible", Q_ARG(bool, true));
    }
    return window;
}

void undim(const QPointer<QWidget> &window)
{
    if (window) {
        QMetaObject::invokeMethod(window, "setOverlayVisible", Q_ARG(bool, false));
    }
}

} // namespace WindowOverlay
