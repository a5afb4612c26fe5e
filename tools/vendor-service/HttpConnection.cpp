#include "HttpConnection.h"

#include "FileStreamer.h"
#include "ServedFile.h"

#include <QTcpSocket>

namespace {
constexpr qsizetype maximumHeadSize = 64 * 1024;

QByteArray reason(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 500:
        return "Internal Server Error";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}
} // namespace

HttpConnection::HttpConnection(QTcpSocket *socket, QObject *parent)
    : QObject(parent)
    , m_socket(socket)
{
    socket->setParent(this);
    connect(socket, &QTcpSocket::readyRead, this, &HttpConnection::onReadyRead);
    connect(socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
    if (socket->bytesAvailable() > 0) {
        onReadyRead();
    }
}

void HttpConnection::onReadyRead()
{
    if (m_requestSeen) {
        m_socket->readAll(); // a request body, or a pipelined request: not served
        return;
    }
    m_buffer += m_socket->readAll();
    const qsizetype end = m_buffer.indexOf("\r\n\r\n");
    if (end < 0) {
        if (m_buffer.size() > maximumHeadSize) {
            m_requestSeen = true;
            respond(400, "request head too large\n");
        }
        return;
    }
    m_requestSeen = true;
    const std::optional<HttpRequest> request = HttpRequest::parse(m_buffer.left(end));
    m_buffer.clear();
    if (!request) {
        respond(400, "malformed request\n");
        return;
    }
    m_headOnly = request->method == "HEAD";
    Q_EMIT requestReceived(this, *request);
}

QByteArray HttpConnection::head(int status, qint64 contentLength,
                                const QByteArray &contentType) const
{
    const QByteArray length = contentLength < 0
                                  ? QByteArray()
                                  : "\r\nContent-Length: " + QByteArray::number(contentLength);
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason(status) +
           "\r\nContent-Type: " + contentType + length +
           "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n";
}

void HttpConnection::respond(int status, const QByteArray &body, const QByteArray &contentType)
{
    if (!m_socket) {
        return;
    }
    // A HEAD answer announces the body's length but never carries it.
    m_socket->write(head(status, body.size(), contentType) + (m_headOnly ? QByteArray() : body));
    m_socket->disconnectFromHost();
}

void HttpConnection::sendFile(const ServedFile &file, bool withBody)
{
    if (!m_socket) {
        return;
    }
    if (withBody && file.fault.kind == FileFault::Kind::GetStatus) {
        respond(int(file.fault.value), "the file cannot be served now\n");
        return;
    }
    if (file.fault.kind == FileFault::Kind::Silent) {
        return; // the connection stays open and nothing is ever said
    }
    const bool announced = file.fault.kind != FileFault::Kind::NoLength;
    m_socket->write(head(200, announced ? file.size : -1, "application/octet-stream"));
    if (!withBody) {
        m_socket->disconnectFromHost();
        return;
    }
    auto *streamer = new FileStreamer(m_socket, file, this);
    streamer->start();
}

void HttpConnection::hold() {}

void HttpConnection::respondHalf(int status, const QByteArray &body, const QByteArray &contentType)
{
    if (m_socket) {
        m_socket->write(head(status, body.size(), contentType) + body.left(body.size() / 2));
    }
}
