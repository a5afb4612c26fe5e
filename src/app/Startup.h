#pragma once

class QApplication;

// The steps of start-up, most of them before Core and the main window exist.
namespace Startup {

// Silences TLS warnings in the log; must run before the application object exists.
void setLoggingRule();

// The fusion style, the light colour scheme and the application style sheet.
void applyLook(QApplication &app);

// Removes the partial downloads nobody has continued for two weeks, from the program's cache and
// the maps' download folder. Runs once the maps folder is decided for the run (deciding it is not
// start-up's work), and only in the run that holds the single-run lock: another copy's download
// is never taken from under it.
void removeStaleDownloads();

} // namespace Startup
