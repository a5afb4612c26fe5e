#include "TestCertificates.h"

#include <QFile>
#include <QProcess>
#include <QSslConfiguration>

#include <optional>

namespace {
std::optional<QSslConfiguration> &savedConfiguration()
{
    static std::optional<QSslConfiguration> saved;
    return saved;
}
} // namespace

QString TestCertificates::authorityPath() const
{
    return m_dir.filePath(QStringLiteral("ca.pem"));
}

QString TestCertificates::certificatePath() const
{
    return m_dir.filePath(QStringLiteral("server.pem"));
}

QString TestCertificates::keyPath() const
{
    return m_dir.filePath(QStringLiteral("server.key"));
}

bool TestCertificates::run(const QStringList &arguments)
{
    QProcess openssl;
    openssl.setWorkingDirectory(m_dir.path());
    openssl.start(QStringLiteral("openssl"), arguments);
    if (!openssl.waitForFinished(60000) || openssl.exitStatus() != QProcess::NormalExit ||
        openssl.exitCode() != 0) {
        m_error = QStringLiteral("openssl %1 failed: %2%3")
                      .arg(arguments.value(0), openssl.errorString(),
                           QString::fromLocal8Bit(openssl.readAllStandardError()));
        return false;
    }
    return true;
}

bool TestCertificates::generate()
{
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return false;
    }
    QFile extensions(m_dir.filePath(QStringLiteral("server.ext")));
    if (!extensions.open(QIODevice::WriteOnly)) {
        m_error = extensions.errorString();
        return false;
    }
    extensions.write("basicConstraints=CA:FALSE\n"
                     "keyUsage=digitalSignature,keyEncipherment\n"
                     "extendedKeyUsage=serverAuth\n"
                     "subjectAltName=IP:127.0.0.1,DNS:localhost\n");
    extensions.close();
    return run({QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-days"),
                QStringLiteral("2"), QStringLiteral("-subj"),
                QStringLiteral("/CN=HalvornSync test authority"), QStringLiteral("-keyout"),
                QStringLiteral("ca.key"), QStringLiteral("-out"), QStringLiteral("ca.pem")}) &&
           run({QStringLiteral("req"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
                QStringLiteral("-nodes"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
                QStringLiteral("-keyout"), QStringLiteral("server.key"), QStringLiteral("-out"),
                QStringLiteral("server.csr")}) &&
           run({QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"),
                QStringLiteral("server.csr"), QStringLiteral("-CA"), QStringLiteral("ca.pem"),
                QStringLiteral("-CAkey"), QStringLiteral("ca.key"),
                QStringLiteral("-CAcreateserial"), QStringLiteral("-days"), QStringLiteral("2"),
                QStringLiteral("-extfile"), QStringLiteral("server.ext"), QStringLiteral("-out"),
                QStringLiteral("server.pem")});
}

void TestCertificates::trustInThisProcess() const
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    if (!savedConfiguration()) {
        savedConfiguration() = configuration;
    }
    configuration.addCaCertificates(authorityPath(), QSsl::Pem);
    QSslConfiguration::setDefaultConfiguration(configuration);
}

void TestCertificates::forgetTrust()
{
    if (savedConfiguration()) {
        QSslConfiguration::setDefaultConfiguration(*savedConfiguration());
        savedConfiguration().reset();
    }
}
