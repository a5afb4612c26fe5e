#include "VendorServiceProcess.h"

#include "service/ProductInfo.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QUrlQuery>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

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
        m_options.dataDir = m_ownDataDir->path();
    }
    m_logPath = QDir(m_options.dataDir).filePath(QStringLiteral("reports.jsonl"));
}

VendorServiceProcess::~VendorServiceProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
}

bool VendorServiceProcess::start()
{
    QStringList arguments{QStringLiteral("--port"),     QStringLiteral("0"),
                          QStringLiteral("--data"),     m_options.dataDir,
                          QStringLiteral("--map-size"), QString::number(m_options.mapSize)};
    if (!m_options.tlsCertificate.isEmpty()) {
        arguments << QStringLiteral("--tls-cert") << m_options.tlsCertificate
                  << QStringLiteral("--tls-key") << m_options.tlsKey;
    }
#ifdef Q_OS_LINUX
    // A test that crashes never runs this object's destructor; the service must not outlive it.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
    m_process.start(QStringLiteral(HALVORNSYNC_VENDOR_SERVICE_PATH), arguments);
    if (!m_process.waitForStarted()) {
        m_error = m_process.errorString();
        return false;
    }
    // Generous: a large map may have to be written first. Only a broken service takes this long.
    const QDeadlineTimer deadline(120000);
    const QLatin1String listening("listening on ");
    while (m_process.canReadLine() ||
           m_process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())))) {
        while (m_process.canReadLine()) {
            const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
            if (line.startsWith(listening)) {
                m_baseUrl = QUrl(line.mid(listening.size()));
                return true;
            }
        }
    }
    m_error = QStringLiteral("the vendor service did not start: %1")
                  .arg(QString::fromLocal8Bit(m_process.readAllStandardError()));
    return false;
}

void VendorServiceProcess::useAsServiceAddress() const
{
    qputenv("HALVORNSYNC_SERVICE_URL", m_baseUrl.toString().toUtf8());
}

QList<QJsonObject> VendorServiceProcess::requests(const QString &action) const
{
    QList<QJsonObject> result;
    QFile file(m_logPath);
    if (file.open(QIODevice::ReadOnly)) {
        while (!file.atEnd()) {
            const QJsonObject entry = QJsonDocument::fromJson(file.readLine()).object();
            if (!entry.isEmpty() &&
                (action.isEmpty() || entry.value(QLatin1String("action")).toString() == action)) {
                result.append(entry);
            }
        }
    }
    return result;
}

void VendorServiceProcess::clearRequests() const
{
    QFile::remove(m_logPath);
}

std::unique_ptr<ProductInfo> VendorServiceProcess::product(const QString &serial) const
{
    QUrl url = m_baseUrl.resolved(QUrl(QStringLiteral("api/v2/")));
    url.setQuery(QUrlQuery{{QStringLiteral("action"), QStringLiteral("get_info")},
                           {QStringLiteral("serial_number"), serial}});
    QNetworkAccessManager manager;
    std::unique_ptr<QNetworkReply> reply(manager.get(QNetworkRequest(url)));
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const QJsonDocument document = QJsonDocument::fromJson(reply->readAll());
    const QJsonObject object =
        document.isArray() ? document.array().at(0).toObject() : document.object();
    if (object.isEmpty()) {
        return nullptr;
    }
    auto info = std::make_unique<ProductInfo>();
    info->fromJson(object);
    return info;
}
