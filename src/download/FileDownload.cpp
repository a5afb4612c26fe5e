#include "download/FileDownload.h"

#include "app/Core.h"
#include "app/SupportLog.h"
#include "download/RangeReply.h"
#include "service/NetworkErrorText.h"

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
// How often, in ticks, what has arrived is synced and recorded while data flows, for the next run
// to continue after a power cut: the rest is refetched.
constexpr int ticksBetweenSaves = 30;
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
    if (m_currentReply) {
        // The program ends during an attempt: what has arrived is kept for the next run.
        m_file.close();
        m_partial.save(m_bytesReceived);
    }
    dropReply(m_currentReply);
}

QNetworkRequest FileDownload::newRequest() const
{
    QNetworkRequest request(m_url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::HttpPipeliningAllowedAttribute, true);
    // The file's own bytes: in a compressed answer sizes and ranges would count something else.
    request.setRawHeader("Accept-Encoding", "identity");
    return request;
}

QNetworkReply *FileDownload::send(const QNetworkRequest &request, bool headOnly)
{
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
    QNetworkReply *reply = send(newRequest(), true);
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
    learnVersion(reply);
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

void FileDownload::learnVersion(QNetworkReply *reply)
{
    m_validator =
        RangeReply::validator(reply->rawHeader("ETag"), reply->rawHeader("Last-Modified"));
    m_acceptsRanges = RangeReply::acceptsRanges(reply->rawHeader("Accept-Ranges"));
}

bool FileDownload::canContinue() const
{
    return m_acceptsRanges && PartialDownload::continues(m_targetPath, m_url, m_validator);
}

void FileDownload::start()
{
    stopTimers();
    dropReply(m_currentReply);
    m_file.close();
    m_file.setFileName(m_targetPath);
    const qint64 from =
        m_partial.resumePoint(m_targetPath, m_url, m_acceptsRanges ? m_validator : QString());
    if (!m_file.open(from > 0 ? QIODevice::WriteOnly | QIODevice::Append : QIODevice::WriteOnly)) {
        // Reported from the event loop, like every other failure, so the caller is never
        // re-entered from inside its own call.
        const QString reason = m_file.errorString();
        QMetaObject::invokeMethod(
            this, [this, reason] { Q_EMIT failed(reason); }, Qt::QueuedConnection);
        return;
    }
    sendGet(from);
}

void FileDownload::sendGet(qint64 from)
{
    m_from = from;
    m_bytesReceived = from;
    m_bytesTotal = 0;
    m_percent = -1;
    QNetworkRequest request = newRequest();
    if (from > 0) {
        // Only the rest, and only of the version the kept bytes belong to: for any other the
        // server sends the whole file.
        request.setRawHeader("Range", "bytes=" + QByteArray::number(from) + '-');
        request.setRawHeader("If-Range", m_validator.toLatin1());
    }
    QNetworkReply *reply = send(request, false);
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
    const RangeReply::Reading reading = RangeReply::read(
        reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
        reply->rawHeader("Content-Range"), length.isValid() ? length.toLongLong() : -1, m_from);
    switch (reading.use) {
    case RangeReply::Use::Again:
        SupportLog::write(
            QStringLiteral("download: cannot continue at byte %1, starting over").arg(m_from));
        dropReply(reply);
        stopTimers();
        m_partial.forget();
        m_file.resize(0);
        sendGet(0);
        return;
    case RangeReply::Use::Whole:
        if (m_from > 0) {
            SupportLog::write(QStringLiteral("download: the server sent the whole file again"));
            m_file.resize(0);
            m_from = 0;
            m_bytesReceived = 0;
        }
        learnVersion(reply);
        m_partial.answered(m_acceptsRanges ? m_validator : QString(), reading.total, true);
        break;
    case RangeReply::Use::Append:
        SupportLog::write(QStringLiteral("download: continued at byte %1").arg(m_from));
        m_partial.answered(m_validator, reading.total, false);
        break;
    case RangeReply::Use::None: // the error that follows ends the attempt
        break;
    }
    m_bytesTotal = reading.total;
    // Counted from the answer, not from the first progress report: the network layer reports
    // progress at most every 100 ms, so a server that stalls sooner would never be noticed.
    startTicking();
}

void FileDownload::startTicking()
{
    if (!m_progressTimer.isActive()) {
        m_progressTimer.start(s_timing.tickMs, this);
        m_ticksSinceSave = 0;
        // The rate counts this attempt's bytes only.
        m_estimate.restart(m_bytesReceived);
    }
}

void FileDownload::onNetworkReadyRead(QNetworkReply *reply)
{
    if (reply != m_currentReply) {
        return;
    }
    answered();
    startTicking();
    if (!writeArrived(reply)) {
        failAttempt(m_file.errorString());
        return;
    }
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
    const bool written = writeArrived(reply) && m_file.flush();
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
    // Whole: from now on the checksum judges it, and no later attempt continues it.
    m_partial.forget();
    Q_EMIT finished();
}

bool FileDownload::writeArrived(QNetworkReply *reply)
{
    // Straight to disk: memory stays flat however large the map.
    const QByteArray data = reply->readAll();
    if (m_file.write(data) != data.size()) {
        return false;
    }
    m_bytesReceived += data.size();
    return true;
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
    if (++m_ticksSinceSave >= ticksBetweenSaves && m_file.flush()) {
        m_ticksSinceSave = 0;
        m_partial.save(m_bytesReceived);
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
    // What arrived before the connection broke is kept too: the next attempt continues after it.
    if (m_file.isOpen()) {
        writeArrived(reply);
    }
    m_file.close();
    // Kept for the next attempt, in this run or the next, when the server can continue it.
    m_partial.save(m_bytesReceived);
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
    return m_timedOut ? tr("The server did not answer.") : NetworkErrorText::of(reply);
}
