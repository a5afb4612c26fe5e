#pragma once

#include "HttpRequest.h"

#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QPointer>

class FileStreamer;
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

    // `headers`: more header lines, each starting with "\r\n".
    void respond(int status, const QByteArray &body,
                 const QByteArray &contentType = QByteArrayLiteral("text/plain; charset=utf-8"),
                 const QByteArray &headers = {});
    // Answers `request` (HEAD or GET) for the file: streamed from disk, the part a Range asks for
    // when the file serves ranges and If-Range names `etag` (or is absent), honouring the file's
    // fault. `fetchedBefore`: the address has had a GET already.
    void sendFile(const ServedFile &file, const HttpRequest &request, const QByteArray &etag,
                  bool fetchedBefore);
    // Never answers; the connection stays open until the client gives up.
    void hold();
    // Sends the head announcing all of `body` and then only its first half; the connection stays
    // open until the client gives up.
    void respondHalf(int status, const QByteArray &body, const QByteArray &contentType);

Q_SIGNALS:
    void requestReceived(HttpConnection *connection, const HttpRequest &request);
    // When the connection of a file's answer ends: what was asked and answered, and how many
    // bytes of the body were sent.
    void fileServed(const QJsonObject &entry);

private:
    void onReadyRead();
    void onDisconnected();
    QByteArray head(int status, qint64 contentLength, const QByteArray &contentType,
                    const QByteArray &headers = {}) const;

    QPointer<QTcpSocket> m_socket;
    QPointer<FileStreamer> m_streamer;
    QJsonObject m_served;
    QByteArray m_buffer;
    bool m_requestSeen = false;
    bool m_headOnly = false;
};
