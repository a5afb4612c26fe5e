#pragma once

#include "ServedFile.h"

#include <QBasicTimer>
#include <QFile>
#include <QObject>
#include <QPointer>

class QTcpSocket;

// Sends a file's body from disk in chunks, topping up the socket only while little is queued, so
// memory stays flat whatever the file's size (TLS included: its encrypted queue counts too).
// Applies the file's fault: stall, dropped connection or a throttled rate.
class FileStreamer : public QObject
{
    Q_OBJECT

public:
    FileStreamer(QTcpSocket *socket, const ServedFile &file, QObject *parent);

    void start();

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    void pump();
    qint64 queuedBytes() const;
    qint64 allowance() const;

    QPointer<QTcpSocket> m_socket;
    QFile m_file;
    FileFault m_fault;
    qint64 m_size = 0;
    qint64 m_sent = 0;
    qint64 m_throttleBudget = 0;
    QBasicTimer m_throttleTimer;
    bool m_done = false;
};
