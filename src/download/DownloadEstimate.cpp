#include "download/DownloadEstimate.h"

#include "app/Core.h"

namespace {
// Six quiet seconds can be a server catching its breath; from the seventh on, say so.
constexpr int ticksBeforeStalled = 6;
// The newest second weighs this much in the smoothed rate.
constexpr double newestWeight = 0.6;

QString megabytes(qint64 bytes)
{
    return QString::number(float(bytes) / 1024.0f / 1024.0f, 'f', 2);
}
} // namespace

void DownloadEstimate::restart(qint64 received)
{
    m_lastReceived = received;
    m_averageSpeed = 0.0;
}

QString DownloadEstimate::stalledText()
{
    return tr("stalled");
}

DownloadEstimate::Tick DownloadEstimate::tick(qint64 received, qint64 total)
{
    const qint64 delta = received - m_lastReceived;
    m_lastReceived = received;
    // The first second with data seeds the rate, so the first estimate is not a fraction of it.
    if (m_averageSpeed == 0.0) {
        m_averageSpeed = double(delta);
    }
    m_averageSpeed = m_averageSpeed * (1.0 - newestWeight) + double(delta) * newestWeight;

    // Counted before the text is chosen: a second that brought data never reads "stalled".
    if (delta != 0) {
        m_silentTicks = 0;
    } else {
        ++m_silentTicks;
    }

    Tick result;
    result.sawData = delta != 0;
    result.downloaded = total >= 0 ? tr("%1 / %2 MB,").arg(megabytes(received), megabytes(total))
                                   : tr("%1 MB").arg(megabytes(received));
    if (m_silentTicks > ticksBeforeStalled) {
        result.timeLeft = tr("estimated time: %1").arg(stalledText());
    } else {
        result.timeLeft = timeLeft(received, total);
    }
    return result;
}

QString DownloadEstimate::timeLeft(qint64 received, qint64 total) const
{
    if (total < 0) {
        return QString(); // nothing to count down to
    }
    const qint64 remaining = std::max<qint64>(0, total - received);
    if (remaining > 0 && m_averageSpeed <= 0.0) {
        // Nothing has arrived yet: there is no rate to divide by.
        return tr("estimated time: %1").arg(stalledText());
    }
    const double seconds = remaining == 0 ? 0.0 : double(remaining) / m_averageSpeed;
    return tr("estimated time: %1").arg(Core::formatDuration(seconds));
}
