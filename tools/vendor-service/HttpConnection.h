#pragma once

#include "HttpRequest.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>

class QTcpSocket;
struct ServedFile;

// One client connection: reads one request head, hands it on through requestReceived, and sends
// the answer the handler chooses. Every answer closes the connection afterwards (the client learns
// it from "Connection: close"), which keeps the service simple. Deletes itself with its socket.
class HttpConnection : public QObject
{
    Q_OBJECT

public:
    explicit HttpConnection(QTcpSocket *socket, QObject *parent = nullptr);

    void respond(int status, const QByteArray &body,
                 const QByteArray &contentType = QByteArrayLiteral("text/plain; charset=utf-8"));
    // Streams the file from disk (the body only for GET), honouring the file's fault.
    void sendFile(const ServedFile &file, bool withBody);
    // Never answers; the connection stays open until the client gives up.
    void hold();
    // Sends the head announcing all of `body` and then only its first half; the connection stays
    // open until the client gives up.
    void respondHalf(int status, const QByteArray &body, const QByteArray &contentType);

Q_SIGNALS:
    void requestReceived(HttpConnection *connection, const HttpRequest &request);

private:
    void onReadyRead();
    QByteArray head(int status, qint64 contentLength, const QByteArray &contentType) const;

    QPointer<QTcpSocket> m_socket;
    QByteArray m_buffer;
    bool m_requestSeen = false;
    bool m_headOnly = false;
};
