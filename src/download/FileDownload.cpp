#include "download/FileDownload.h"

#include "app/Core.h"
#include "app/SupportLog.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimerEvent>

namespace {
FileDownload::Timing s_timing;
// Without a limit Qt's network thread reads as fast as the line delivers and queues it all for
// this thread, which cannot write it away as fast: over loopback a 1 GiB map piled up 1.2 GiB in
// memory and froze the event loop for seconds (bench/download-vs-curl). A bounded buffer makes the
// socket wait for the disk instead. Much smaller buffers cost speed in hand-offs between the
// threads; larger ones measured slower too, their copies no longer fitting the processor's caches.
constexpr qint64 replyBufferSize = 512 * 1024;
} // namespace

void FileDownload::setTiming(const Timing &timing)
{
    s_timing = timing;
}

FileDownload::Timing FileDownload::timing()
{
    return s_timing;
}

FileDownload::FileDownload(QObject *parent)
    : QObject(parent)
{
    // Each attempt's end goes to the support log; its address went there as it was sent.
    connect(this, &FileDownload::finished, this, [this] {
        SupportLog::write(QStringLiteral("download: complete, %1 bytes").arg(m_bytesReceived));
    });
    connect(this, &FileDownload::failed, this, [this](const QString &reason) {
        SupportLog::write(QStringLiteral("download: failed after %1 of %2 bytes: %3")
                              .arg(m_bytesReceived)
                              .arg(m_bytesTotal > 0 ? QString::number(m_bytesTotal) : "?")
                              .arg(reason));
    });
}

FileDownload::~FileDownload()
{
    dropReply(m_sizeReply);
    dropReply(m_currentReply);
}

QNetworkReply *FileDownload::send(bool headOnly)
{
    QNetworkRequest request(m_url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::HttpPipeliningAllowedAttribute, true);
    QNetworkAccessManager *manager = Core::instance()->networkManager();
    QNetworkReply *reply = headOnly ? manager->head(request) : manager->get(request);
    m_timedOut = false;
    m_answerTimer.start(s_timing.answerMs, this);
    connect(reply, &QNetworkReply::metaDataChanged, this, &FileDownload::answered);
    return reply;
}

void FileDownload::answered()
{
    m_answerTimer.stop();
}

void FileDownload::askFileSize()
{
    dropReply(m_sizeReply);
    QNetworkReply *reply = send(true);
    m_sizeReply = reply;
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onFileSizeReply(reply); });
    connect(reply, &QNetworkReply::errorOccurred, this, [this, reply] { onReplyError(reply); });
}

void FileDownload::onFileSizeReply(QNetworkReply *reply)
{
    // Failures reach onReplyError first; their end is no answer.
    if (reply != m_sizeReply || reply->error() != QNetworkReply::NoError) {
        return;
    }
    answered();
    m_sizeReply = nullptr;
    reply->deleteLater();
    const qint64 size = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    Q_EMIT sizeKnown(std::max<qint64>(0, size));
}

void FileDownload::onReplyError(QNetworkReply *reply)
{
    if (reply != m_sizeReply) {
        return;
    }
    answered();
    const QString text = errorText(reply);
    m_sizeReply = nullptr;
    reply->deleteLater();
    Q_EMIT sizeQueryFailed(text);
}

void FileDownload::start()
{
    stopTimers();
    dropReply(m_currentReply);
    m_bytesReceived = 0;
    m_bytesTotal = 0;
    m_percent = -1;
    m_estimate.restart();

    m_file.close();
    m_file.setFileName(m_targetPath);
    QFile::remove(m_targetPath);
    if (!m_file.open(QIODevice::WriteOnly)) {
        // Reported from the event loop, like every other failure, so the caller is never
        // re-entered from inside its own call.
        const QString reason = m_file.errorString();
        QMetaObject::invokeMethod(
            this, [this, reason] { Q_EMIT failed(reason); }, Qt::QueuedConnection);
        return;
    }

    QNetworkReply *reply = send(false);
    m_currentReply = reply;
    reply->setReadBufferSize(replyBufferSize);
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] { onHeaders(reply); });
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { onNetworkReadyRead(reply); });
    connect(reply, &QNetworkReply::finished, this,
            [this, reply] { onNetworkDownloadFinished(reply); });
    connect(reply, &QNetworkReply::errorOccurred, this,
            [this, reply] { onNetworkDownloadError(reply); });
}

void FileDownload::onHeaders(QNetworkReply *reply)
{
    if (reply != m_currentReply) {
        return;
    }
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    m_bytesTotal = length.isValid() ? length.toLongLong() : -1;
    // Counted from the answer, not from the first progress report: the network layer reports
    // progress at most every 100 ms, so a server that stalls sooner would never be noticed.
    startTicking();
}

void FileDownload::startTicking()
{
    if (!m_progressTimer.isActive()) {
        m_progressTimer.start(s_timing.tickMs, this);
        m_estimate.restart();
    }
}

void FileDownload::onNetworkReadyRead(QNetworkReply *reply)
{
    if (reply != m_currentReply) {
        return;
    }
    answered();
    startTicking();
    // Straight to disk: memory stays flat however large the map.
    const QByteArray data = reply->readAll();
    if (m_file.write(data) != data.size()) {
        failAttempt(m_file.errorString());
        return;
    }
    m_bytesReceived += data.size();
    if (m_bytesTotal > 0) {
        const int percent = int(double(m_bytesReceived) / double(m_bytesTotal) * 100.0);
        if (percent != m_percent) {
            m_percent = percent;
            Q_EMIT progressChanged(percent);
        }
    }
}

void FileDownload::onNetworkDownloadFinished(QNetworkReply *reply)
{
    if (reply != m_currentReply) {
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        failAttempt(errorText(reply));
        return;
    }
    const QByteArray rest = reply->readAll();
    m_bytesReceived += rest.size();
    const bool written = m_file.write(rest) == rest.size() && m_file.flush();
    const qint64 size = m_file.size();
    m_file.close();
    if (!written) {
        failAttempt(m_file.errorString());
        return;
    }
    // A connection that closes early without an error must not pass for a whole file.
    if (m_bytesTotal > 0 && size != m_bytesTotal) {
        failAttempt(tr("The download ended after %1 of %2 bytes.").arg(size).arg(m_bytesTotal));
        return;
    }
    m_currentReply = nullptr;
    stopTimers();
    reply->deleteLater();
    Q_EMIT finished();
}

void FileDownload::onNetworkDownloadError(QNetworkReply *reply)
{
    if (reply == m_currentReply) {
        failAttempt(errorText(reply));
    }
}

void FileDownload::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_progressTimer.timerId()) {
        onProgressTick();
    } else if (event->timerId() == m_stallTimer.timerId()) {
        onStall();
    } else if (event->timerId() == m_answerTimer.timerId()) {
        m_answerTimer.stop();
        m_timedOut = true;
        // The abort reaches the reply's own error handler like any other failure.
        if (m_sizeReply) {
            m_sizeReply->abort();
        } else if (m_currentReply) {
            m_currentReply->abort();
        }
    } else {
        QObject::timerEvent(event);
    }
}

void FileDownload::onProgressTick()
{
    const DownloadEstimate::Tick tick = m_estimate.tick(m_bytesReceived, m_bytesTotal);
    Q_EMIT statusChanged(tick.downloaded, tick.timeLeft);
    // The watchdog counts from the first silent second and is disarmed by any new byte.
    if (tick.sawData) {
        m_stallTimer.stop();
    } else if (!m_stallTimer.isActive()) {
        m_stallTimer.start(s_timing.stallMs, this);
    }
}

void FileDownload::onStall()
{
    m_stallTimer.stop();
    if (m_currentReply) {
        failAttempt(tr("No data arrived for %1 seconds.").arg(s_timing.stallMs / 1000));
    }
}

void FileDownload::failAttempt(const QString &reason)
{
    QNetworkReply *reply = m_currentReply;
    if (!reply) {
        return; // this attempt has already ended
    }
    m_currentReply = nullptr;
    // Stopped with the attempt, so its watchdog can never end the next one.
    stopTimers();
    m_file.close();
    dropReply(reply);
    Q_EMIT failed(reason);
}

void FileDownload::stopTimers()
{
    m_progressTimer.stop();
    m_stallTimer.stop();
    m_answerTimer.stop();
}

void FileDownload::dropReply(QNetworkReply *reply)
{
    if (!reply) {
        return;
    }
    disconnect(reply, nullptr, this, nullptr);
    // A reply that has failed already is over; aborting it again only makes Qt complain.
    if (reply->isFinished() || reply->error() != QNetworkReply::NoError) {
        reply->deleteLater();
    } else {
        connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
        reply->abort();
    }
}

QString FileDownload::errorText(QNetworkReply *reply) const
{
    return m_timedOut ? tr("The server did not answer.") : reply->errorString();
}
