#pragma once

class QApplication;

// The steps of start-up that come before Core and the main window exist.
namespace Startup {

// Silences TLS warnings in the log; must run before the application object exists.
void setLoggingRule();

// The fusion style, the light colour scheme and the application style sheet.
void applyLook(QApplication &app);

} // namespace Startup
