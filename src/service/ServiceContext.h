#pragma once

#include <QString>

class QNetworkAccessManager;

// What the requests to the vendor's service take from the program they run in. The application
// hands over its network manager once, at start; until then a request ends at once, unsent. The
// manager also owns the reports, which outlive the page that sends them.
namespace ServiceContext {

void setNetworkManager(QNetworkAccessManager *manager);
QNetworkAccessManager *networkManager();

// The language the service answers in: "FR" while the program speaks French, else "EN".
QString languageCode();

} // namespace ServiceContext
