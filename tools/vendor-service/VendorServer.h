#pragma once

#include "ServiceApi.h"

#include <QObject>
#include <QSet>
#include <QSslConfiguration>

#include <memory>
#include <optional>

class Catalogue;
class HttpConnection;
class QTcpServer;
class ReportLog;
struct HttpRequest;

// Listens on loopback (plain HTTP, or HTTPS with the configuration given) and routes each request:
// "/api/v2/" to the service API, "/files/<name>" to the catalogue's files (HEAD and GET),
// "/pages/<name>" to a small stand-in web page. Each file's answer goes to the log too, as an entry
// of the action "file".
class VendorServer : public QObject
{
    Q_OBJECT

public:
    VendorServer(const Catalogue &catalogue, ReportLog &log, QObject *parent = nullptr);
    ~VendorServer() override;

    bool listen(quint16 port, const std::optional<QSslConfiguration> &tls);
    QString errorString() const;
    // "http://127.0.0.1:PORT" or "https://...".
    QString address() const;

private:
    void onConnection();
    void onRequest(HttpConnection *connection, const HttpRequest &request);

    const Catalogue &m_catalogue;
    ReportLog &m_log;
    ServiceApi m_api;
    // The addresses (path and query) that have had a GET.
    QSet<QString> m_fetched;
    std::unique_ptr<QTcpServer> m_server;
    bool m_tls = false;
};
