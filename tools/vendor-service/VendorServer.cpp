#include "VendorServer.h"

#include "Catalogue.h"
#include "HttpConnection.h"
#include "HttpRequest.h"
#include "ReportLog.h"

#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>

VendorServer::VendorServer(const Catalogue &catalogue, ReportLog &log, QObject *parent)
    : QObject(parent)
    , m_catalogue(catalogue)
    , m_log(log)
    , m_api(catalogue, log)
{
}

VendorServer::~VendorServer() = default;

bool VendorServer::listen(quint16 port, const std::optional<QSslConfiguration> &tls)
{
    if (tls) {
        auto server = std::make_unique<QSslServer>();
        server->setSslConfiguration(*tls);
        m_server = std::move(server);
        m_tls = true;
    } else {
        m_server = std::make_unique<QTcpServer>();
    }
    // Handshakes finish before a connection is offered, so both kinds are taken up the same way.
    connect(m_server.get(), &QTcpServer::pendingConnectionAvailable, this,
            &VendorServer::onConnection);
    return m_server->listen(QHostAddress::LocalHost, port);
}

QString VendorServer::errorString() const
{
    return m_server ? m_server->errorString() : QString();
}

QString VendorServer::address() const
{
    return QStringLiteral("%1://127.0.0.1:%2")
        .arg(m_tls ? QStringLiteral("https") : QStringLiteral("http"))
        .arg(m_server ? m_server->serverPort() : 0);
}

void VendorServer::onConnection()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        auto *connection = new HttpConnection(socket, this);
        connect(connection, &HttpConnection::requestReceived, this, &VendorServer::onRequest);
        connect(connection, &HttpConnection::fileServed, this,
                [this](const QJsonObject &entry) { m_log.append(entry); });
    }
}

void VendorServer::onRequest(HttpConnection *connection, const HttpRequest &request)
{
    const bool head = request.method == "HEAD";
    if (!head && request.method != "GET") {
        connection->respond(405, "only GET and HEAD\n");
        return;
    }
    // Addresses in answers use the name the client reached us by, so TLS names keep matching.
    const QString origin = request.host.isEmpty()
                               ? address()
                               : (m_tls ? QStringLiteral("https://") : QStringLiteral("http://")) +
                                     QString::fromLatin1(request.host);
    const QString path = request.target.path(QUrl::FullyDecoded);

    if (path == QLatin1String("/api/v2/") || path == QLatin1String("/api/v2")) {
        m_api.handle(connection, request, origin);
    } else if (path.startsWith(QLatin1String("/files/"))) {
        const ServedFile *file = m_catalogue.file(path.mid(7));
        if (file) {
            const QString address =
                request.target.toString(QUrl::RemoveScheme | QUrl::RemoveAuthority);
            const bool fetchedBefore = m_fetched.contains(address);
            if (!head) {
                m_fetched.insert(address);
            }
            // The next version of a file that changes: the same bytes under another ETag.
            const QByteArray etag = file->fault.changesAfterFirstGet && fetchedBefore
                                        ? file->etag.chopped(1) + "-2\""
                                        : file->etag;
            connection->sendFile(*file, request, etag, fetchedBefore);
        } else {
            connection->respond(404, "no such file\n");
        }
    } else if (path.startsWith(QLatin1String("/pages/"))) {
        const QByteArray name = path.mid(7).toHtmlEscaped().toUtf8();
        connection->respond(200,
                            "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + name +
                                "</title></head><body><h1>Halvorn</h1><p>Stand-in page: " + name +
                                "</p></body></html>\n",
                            "text/html; charset=utf-8");
    } else {
        connection->respond(404, "not found\n");
    }
}
