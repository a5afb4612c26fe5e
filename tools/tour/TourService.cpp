#include "TourService.h"

#include <QDeadlineTimer>
#include <QRegularExpression>

namespace {
// Large enough that the throttled map takes a few seconds to download, small enough to make at
// once.
const qint64 kMapSize = 8 * 1024 * 1024;
// The sample files are small; only a broken service takes this long to listen.
const int kStartTimeoutMs = 60000;
} // namespace

TourService::~TourService()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
}

bool TourService::start(const QString &dataDir)
{
    m_process.start(QStringLiteral(HALVORNSYNC_VENDOR_SERVICE),
                    {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--data"),
                     dataDir, QStringLiteral("--map-size"), QString::number(kMapSize)});
    if (!m_process.waitForStarted()) {
        m_error = QStringLiteral("cannot start %1: %2")
                      .arg(QStringLiteral(HALVORNSYNC_VENDOR_SERVICE), m_process.errorString());
        return false;
    }
    static const QRegularExpression listening(QStringLiteral("^listening on (\\S+)$"));
    const QDeadlineTimer deadline(kStartTimeoutMs);
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        while (m_process.canReadLine()) {
            const QRegularExpressionMatch match =
                listening.match(QString::fromUtf8(m_process.readLine()).trimmed());
            if (match.hasMatch()) {
                m_baseUrl = QUrl(match.captured(1));
                return true;
            }
        }
        m_process.waitForReadyRead(100);
    }
    m_error = QStringLiteral("the vendor service did not start: %1")
                  .arg(QString::fromLocal8Bit(m_process.readAllStandardError()).trimmed());
    return false;
}
