#include "VendorServiceProcess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>

namespace {
// Generous: a large map may have to be written first. Only a broken service takes this long.
constexpr int startTimeoutMs = 120000;
} // namespace

VendorServiceProcess::VendorServiceProcess()
    : VendorServiceProcess(Options())
{
}

VendorServiceProcess::VendorServiceProcess(const Options &options)
    : m_options(options)
{
    if (m_options.dataDir.isEmpty()) {
        m_ownDataDir = std::make_unique<QTemporaryDir>(QDir::tempPath() +
                                                       QStringLiteral("/vendor-service-XXXXXX"));
    }
}

VendorServiceProcess::~VendorServiceProcess()
{
    stop();
}

QString VendorServiceProcess::dataDir() const
{
    return m_ownDataDir ? m_ownDataDir->path() : m_options.dataDir;
}

QString VendorServiceProcess::logPath() const
{
    return QDir(dataDir()).filePath(QStringLiteral("reports.jsonl"));
}

bool VendorServiceProcess::start()
{
    QStringList arguments{QStringLiteral("--port"),     QStringLiteral("0"),
                          QStringLiteral("--data"),     dataDir(),
                          QStringLiteral("--map-size"), QString::number(m_options.mapSize)};
    if (!m_options.tlsCertificate.isEmpty()) {
        arguments << QStringLiteral("--tls-cert") << m_options.tlsCertificate
                  << QStringLiteral("--tls-key") << m_options.tlsKey;
    }
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start(QStringLiteral(HALVORNSYNC_VENDOR_SERVICE_PATH), arguments);
    if (!m_process.waitForStarted()) {
        m_error = m_process.errorString();
        return false;
    }

    static const QRegularExpression listening(QStringLiteral("^listening on (\\S+)$"));
    QByteArray pending;
    const QDeadlineTimer deadline(startTimeoutMs);
    while (!deadline.hasExpired()) {
        if (!m_process.canReadLine() &&
            !m_process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())))) {
            break;
        }
        while (m_process.canReadLine()) {
            const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
            const QRegularExpressionMatch match = listening.match(line);
            if (match.hasMatch()) {
                m_baseUrl = QUrl(match.captured(1));
                return true;
            }
        }
    }
    m_error = QStringLiteral("the vendor service did not start: %1")
                  .arg(QString::fromLocal8Bit(m_process.readAllStandardError()));
    stop();
    return false;
}

void VendorServiceProcess::stop()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
}

void VendorServiceProcess::useAsServiceAddress() const
{
    qputenv("HALVORNSYNC_SERVICE_URL", m_baseUrl.toString().toUtf8());
}

QList<QJsonObject> VendorServiceProcess::requests(const QString &action) const
{
    QList<QJsonObject> result;
    QFile file(logPath());
    if (!file.open(QIODevice::ReadOnly)) {
        return result;
    }
    while (!file.atEnd()) {
        const QJsonObject entry = QJsonDocument::fromJson(file.readLine()).object();
        if (!entry.isEmpty() &&
            (action.isEmpty() || entry.value(QLatin1String("action")).toString() == action)) {
            result.append(entry);
        }
    }
    return result;
}

void VendorServiceProcess::clearRequests() const
{
    QFile::remove(logPath());
}
