#include "FileStreamer.h"

#include <QSslSocket>
#include <QTcpSocket>
#include <QTimerEvent>

namespace {
constexpr qint64 chunkSize = 256 * 1024;
constexpr qint64 queueLimit = 1024 * 1024;
constexpr int throttleTickMs = 100;
} // namespace

FileStreamer::FileStreamer(QTcpSocket *socket, const QString &path, qint64 from, qint64 to,
                           const FileFault &fault, QObject *parent)
    : QObject(parent)
    , m_socket(socket)
    , m_file(path)
    , m_fault(fault)
    , m_from(from)
    , m_to(to)
    , m_position(from)
{
    connect(socket, &QTcpSocket::bytesWritten, this, &FileStreamer::pump);
    if (auto *ssl = qobject_cast<QSslSocket *>(socket)) {
        connect(ssl, &QSslSocket::encryptedBytesWritten, this, &FileStreamer::pump);
    }
}

void FileStreamer::start()
{
    if (!m_file.open(QIODevice::ReadOnly) || !m_file.seek(m_from)) {
        m_socket->abort();
        return;
    }
    if (m_fault.rate > 0) {
        m_throttleTimer.start(throttleTickMs, this);
    }
    pump();
}

qint64 FileStreamer::queuedBytes() const
{
    qint64 queued = m_socket->bytesToWrite();
    if (auto *ssl = qobject_cast<QSslSocket *>(m_socket.data())) {
        queued += ssl->encryptedBytesToWrite();
    }
    return queued;
}

qint64 FileStreamer::allowance() const
{
    qint64 limit = m_to;
    if (m_fault.kind == FileFault::Kind::StallAfter || m_fault.kind == FileFault::Kind::DropAfter ||
        m_fault.kind == FileFault::Kind::DropOnce) {
        limit = qMin(m_to, m_fault.value);
    }
    qint64 left = limit - m_position;
    if (m_fault.rate > 0) {
        left = qMin(left, m_throttleBudget);
    }
    return left;
}

void FileStreamer::pump()
{
    if (!m_socket || m_done) {
        return;
    }
    while (queuedBytes() < queueLimit) {
        const qint64 count = qMin(chunkSize, allowance());
        if (count <= 0) {
            break;
        }
        const QByteArray chunk = m_file.read(count);
        if (chunk.isEmpty()) {
            m_socket->abort(); // the file shrank under us: end the answer visibly short
            m_done = true;
            return;
        }
        m_socket->write(chunk);
        m_position += chunk.size();
        m_throttleBudget -= chunk.size();
    }

    if (m_position >= m_to) {
        m_done = true;
        m_socket->disconnectFromHost(); // waits for the queue to drain
    } else if (m_fault.kind == FileFault::Kind::DropAfter && m_position >= m_fault.value &&
               queuedBytes() == 0) {
        m_done = true;
        m_socket->abort();
    } else if (m_fault.kind == FileFault::Kind::DropOnce && m_position >= m_fault.value) {
        // Closed short of the announced length: what was sent still arrives.
        m_done = true;
        m_socket->disconnectFromHost();
    }
    // StallAfter: nothing more is sent; the client's own patience decides.
}

void FileStreamer::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_throttleTimer.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    m_throttleBudget = m_fault.rate * throttleTickMs / 1000;
    pump();
}
