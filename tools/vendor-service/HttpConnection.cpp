#include "HttpConnection.h"

#include "FileStreamer.h"
#include "ServedFile.h"

#include <QTcpSocket>

#include <optional>

namespace {
constexpr qsizetype maximumHeadSize = 64 * 1024;

// The bytes a "bytes=FIRST-" or "bytes=FIRST-LAST" Range asks for, as [from, to) cut to the file;
// nothing for any other form, which is answered with the whole file.
std::optional<std::pair<qint64, qint64>> requestedRange(const QByteArray &range, qint64 size)
{
    if (!range.startsWith("bytes=") || range.contains(',')) {
        return std::nullopt;
    }
    const QList<QByteArray> ends = range.mid(6).split('-');
    bool firstOk = false;
    const qint64 first = ends.value(0).trimmed().toLongLong(&firstOk);
    bool lastOk = true;
    const QByteArray lastText = ends.value(1).trimmed();
    const qint64 last = lastText.isEmpty() ? first : lastText.toLongLong(&lastOk);
    if (ends.size() != 2 || !firstOk || !lastOk || first < 0 || last < first) {
        return std::nullopt;
    }
    return std::pair{first, lastText.isEmpty() ? size : qMin(last + 1, size)};
}

QByteArray reason(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 206:
        return "Partial Content";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 416:
        return "Range Not Satisfiable";
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
    connect(socket, &QTcpSocket::disconnected, this, &HttpConnection::onDisconnected);
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

void HttpConnection::onDisconnected()
{
    if (!m_served.isEmpty()) {
        m_served.insert(QStringLiteral("sent"), m_streamer ? m_streamer->sent() : 0);
        Q_EMIT fileServed(m_served);
    }
    deleteLater();
}

QByteArray HttpConnection::head(int status, qint64 contentLength, const QByteArray &contentType,
                                const QByteArray &headers) const
{
    const QByteArray length = contentLength < 0
                                  ? QByteArray()
                                  : "\r\nContent-Length: " + QByteArray::number(contentLength);
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason(status) +
           "\r\nContent-Type: " + contentType + length + headers +
           "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n";
}

void HttpConnection::respond(int status, const QByteArray &body, const QByteArray &contentType,
                             const QByteArray &headers)
{
    if (!m_socket) {
        return;
    }
    if (!m_served.isEmpty()) {
        m_served.insert(QStringLiteral("status"), status);
    }
    // A HEAD answer announces the body's length but never carries it.
    m_socket->write(head(status, body.size(), contentType, headers) +
                    (m_headOnly ? QByteArray() : body));
    m_socket->disconnectFromHost();
}

void HttpConnection::sendFile(const ServedFile &file, const HttpRequest &request,
                              const QByteArray &etag, bool fetchedBefore)
{
    if (!m_socket) {
        return;
    }
    const bool withBody = !m_headOnly;
    m_served = {{QStringLiteral("action"), QStringLiteral("file")},
                {QStringLiteral("method"), QString::fromLatin1(request.method)},
                {QStringLiteral("name"), file.name},
                {QStringLiteral("range"), QString::fromLatin1(request.range)},
                {QStringLiteral("if_range"), QString::fromLatin1(request.ifRange)}};
    if (withBody && file.fault.kind == FileFault::Kind::GetStatus) {
        respond(int(file.fault.value), "the file cannot be served now\n");
        return;
    }
    if (file.fault.kind == FileFault::Kind::Silent) {
        return; // the connection stays open and nothing is ever said
    }
    FileFault fault = file.fault;
    if (fault.kind == FileFault::Kind::DropOnce) {
        fault.kind = fetchedBefore ? FileFault::Kind::None : FileFault::Kind::DropOnce;
    }

    QByteArray headers = "\r\nETag: " + etag;
    int status = 200;
    qint64 from = 0;
    qint64 to = file.size;
    if (!fault.ranges) {
        headers += "\r\nAccept-Ranges: none";
    } else {
        headers += "\r\nAccept-Ranges: bytes";
        const auto range = requestedRange(request.range, file.size);
        // A Range for another version of the file is answered with the whole of this one.
        if (withBody && range && (request.ifRange.isEmpty() || request.ifRange == etag)) {
            if (range->first >= file.size) {
                respond(416, "the range lies beyond the file\n", "text/plain; charset=utf-8",
                        "\r\nContent-Range: bytes */" + QByteArray::number(file.size));
                return;
            }
            status = 206;
            from = range->first;
            to = range->second;
            headers += "\r\nContent-Range: bytes " + QByteArray::number(from) + '-' +
                       QByteArray::number(to - 1) + '/' + QByteArray::number(file.size);
        }
    }
    m_served.insert(QStringLiteral("status"), status);
    const bool announced = fault.kind != FileFault::Kind::NoLength;
    m_socket->write(head(status, announced ? to - from : -1, "application/octet-stream", headers));
    if (!withBody) {
        m_socket->disconnectFromHost();
        return;
    }
    m_streamer = new FileStreamer(m_socket, file.path, from, to, fault, this);
    m_streamer->start();
}

void HttpConnection::hold() {}

void HttpConnection::respondHalf(int status, const QByteArray &body, const QByteArray &contentType)
{
    if (m_socket) {
        m_socket->write(head(status, body.size(), contentType) + body.left(body.size() / 2));
    }
}
