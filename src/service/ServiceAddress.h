#pragma once

#include <QString>
#include <QUrl>

// The vendor service's base address (scheme, host and port, no path). Built in at configure time;
// the environment variable HALVORNSYNC_SERVICE_URL overrides it for development and tests.
//
// The serial and the reports travel to this address and its answers are believed, so an override
// is taken only as "https://host[:port]", or as "http://" to this computer's own loopback (a
// stand-in service), with nothing after the host and port but an optional "/": a path, query or
// fragment would change the requests themselves. Anything else is refused with one line on
// standard error, and the built-in address is used.
QUrl serviceBaseUrl();

// The override's rule: the base address `address` stands for, or an empty URL when it is refused.
QUrl acceptedServiceAddress(QString address);
