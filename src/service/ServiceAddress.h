#pragma once

#include <QUrl>

// The vendor service's base address (scheme, host and port, no path). Built in at configure time;
// the environment variable HALVORNSYNC_SERVICE_URL overrides it for development and tests.
QUrl serviceBaseUrl();
