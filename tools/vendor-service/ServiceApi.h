#pragma once

#include <QString>

class Catalogue;
class HttpConnection;
class ReportLog;
struct HttpRequest;

// Answers "/api/v2/?action=...": get_info from the catalogue, and the three version reports
// (update_info_pc, update_info_sd, transfer_sd). Every request it receives is written to the log
// with all its query parameters, so tests can see exactly what arrived.
class ServiceApi
{
public:
    ServiceApi(const Catalogue &catalogue, ReportLog &log);

    void handle(HttpConnection *connection, const HttpRequest &request, const QString &origin);

private:
    void answerProductInfo(HttpConnection *connection, const QString &serial,
                           const QString &origin);
    void answerReport(HttpConnection *connection, const QString &serial);

    const Catalogue &m_catalogue;
    ReportLog &m_log;
};
