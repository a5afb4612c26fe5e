#pragma once

#include "ServedFile.h"

#include <QBasicTimer>
#include <QFile>
#include <QObject>
#include <QPointer>

class QTcpSocket;

// Sends bytes `from` to `to` (exclusive) of a file from disk in chunks, topping up the socket only
// while little is queued, so memory stays flat whatever the file's size (TLS included: its
// encrypted queue counts too). Applies `fault`: a stall or a dropped connection at a byte of the
// file (StallAfter, DropAfter), and its rate.
class FileStreamer : public QObject
{
    Q_OBJECT

public:
    FileStreamer(QTcpSocket *socket, const QString &path, qint64 from, qint64 to,
                 const FileFault &fault, QObject *parent);

    void start();
    // Bytes of the body handed to the socket so far.
    qint64 sent() const { return m_position - m_from; }

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    void pump();
    qint64 queuedBytes() const;
    qint64 allowance() const;

    QPointer<QTcpSocket> m_socket;
    QFile m_file;
    FileFault m_fault;
    qint64 m_from = 0;
    qint64 m_to = 0;
    qint64 m_position = 0;
    qint64 m_throttleBudget = 0;
    QBasicTimer m_throttleTimer;
    bool m_done = false;
};
