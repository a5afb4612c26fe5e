#pragma once

#include <QPointer>
#include <QWidget>

// Dims the main window while a pop-up is open. The window counts the requests, so nested pop-ups
// keep it dimmed until the last one goes.
namespace WindowOverlay {

// Asks the main window, if one is shown, to dim itself; returns the window that was asked.
QPointer<QWidget> dim();
// Withdraws a request made by dim() from the same window.
void undim(const QPointer<QWidget> &window);

} // namespace WindowOverlay
