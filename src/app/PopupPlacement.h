#pragma once

class QWidget;

namespace PopupPlacement {

// Puts the pop-up's centre on the main window's centre, when the main window is shown. Called
// once the pop-up has its size, so that it stays over the wizard rather than the screen's middle.
void centreOnMainWindow(QWidget *popup);

} // namespace PopupPlacement
