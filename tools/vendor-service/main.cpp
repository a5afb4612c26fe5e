// The stand-in vendor service: answers HalvornSync's requests from a sample catalogue and serves
// the sample files, for development, the demo and the tests. Not part of the program.

#include "Catalogue.h"
#include "ReportLog.h"
#include "VendorServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSslCertificate>
#include <QSslKey>
#include <QTextStream>

#include <optional>

namespace {
QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

int fail(const QString &message)
{
    QTextStream(stderr) << "halvornsync-vendor-service: " << message << Qt::endl;
    return 1;
}

std::optional<QSslConfiguration> loadTls(const QString &certPath, const QString &keyPath,
                                         QString *error)
{
    QFile certFile(certPath);
    QFile keyFile(keyPath);
    if (!certFile.open(QIODevice::ReadOnly) || !keyFile.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1 or %2").arg(certPath, keyPath);
        return std::nullopt;
    }
    const QList<QSslCertificate> chain = QSslCertificate::fromData(certFile.readAll(), QSsl::Pem);
    const QByteArray keyData = keyFile.readAll();
    QSslKey key(keyData, QSsl::Rsa, QSsl::Pem);
    if (key.isNull()) {
        key = QSslKey(keyData, QSsl::Ec, QSsl::Pem);
    }
    if (chain.isEmpty() || key.isNull()) {
        *error = QStringLiteral("no PEM certificate in %1 or no RSA/EC PEM key in %2")
                     .arg(certPath, keyPath);
        return std::nullopt;
    }
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificateChain(chain);
    configuration.setPrivateKey(key);
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    return configuration;
}

void printSerials(const Catalogue &catalogue)
{
    out() << "sample serials:" << Qt::endl;
    for (const SampleProduct &product : catalogue.products()) {
        out() << "  " << qSetFieldWidth(28) << Qt::left << product.serial << qSetFieldWidth(0)
              << product.meaning << Qt::endl;
    }
    out() << "  any other serial            the service answers \"Error: Unknown serial number\""
          << Qt::endl;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("halvornsync-vendor-service"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Stand-in for the map vendor's service, on 127.0.0.1 only."));
    parser.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Port to listen on; 0 takes a free one."),
                                        QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption dataOption(
        QStringLiteral("data"), QStringLiteral("Folder where the sample files are made and kept."),
        QStringLiteral("DIR"));
    const QCommandLineOption certOption(QStringLiteral("tls-cert"),
                                        QStringLiteral("PEM certificate (chain): serve HTTPS."),
                                        QStringLiteral("FILE"));
    const QCommandLineOption keyOption(QStringLiteral("tls-key"),
                                       QStringLiteral("PEM private key of the certificate."),
                                       QStringLiteral("FILE"));
    const QCommandLineOption mapSizeOption(
        QStringLiteral("map-size"),
        QStringLiteral("Size in bytes of each generated map archive and card image."),
        QStringLiteral("BYTES"), QString::number(16 * 1024 * 1024));
    const QCommandLineOption logOption(
        QStringLiteral("report-log"),
        QStringLiteral("JSON-lines log of every request to the API (default DIR/reports.jsonl)."),
        QStringLiteral("FILE"));
    parser.addOptions({portOption, dataOption, certOption, keyOption, mapSizeOption, logOption});
    parser.process(app);

    if (!parser.isSet(dataOption)) {
        return fail(QStringLiteral("--data DIR is required"));
    }
    bool portOk = false;
    const uint port = parser.value(portOption).toUInt(&portOk);
    bool sizeOk = false;
    const qint64 mapSize = parser.value(mapSizeOption).toLongLong(&sizeOk);
    if (!portOk || port > 65535 || !sizeOk || mapSize < 1) {
        return fail(QStringLiteral("--port needs 0..65535 and --map-size a positive size"));
    }
    if (parser.isSet(certOption) != parser.isSet(keyOption)) {
        return fail(QStringLiteral("--tls-cert and --tls-key go together"));
    }
    std::optional<QSslConfiguration> tls;
    if (parser.isSet(certOption)) {
        QString error;
        tls = loadTls(parser.value(certOption), parser.value(keyOption), &error);
        if (!tls) {
            return fail(error);
        }
    }

    const QString dataDir = QDir(parser.value(dataOption)).absolutePath();
    out() << "preparing sample files in " << dataDir << Qt::endl;
    Catalogue catalogue;
    if (!catalogue.build(dataDir, mapSize)) {
        return fail(catalogue.errorString());
    }
    ReportLog log(parser.isSet(logOption)
                      ? QDir().absoluteFilePath(parser.value(logOption))
                      : QDir(dataDir).filePath(QStringLiteral("reports.jsonl")));

    VendorServer server(catalogue, log);
    if (!server.listen(quint16(port), tls)) {
        return fail(
            QStringLiteral("cannot listen on port %1: %2").arg(port).arg(server.errorString()));
    }
    printSerials(catalogue);
    out() << "reports are logged to " << log.path() << Qt::endl;
    // Last, so whoever waits for this line finds everything else ready.
    out() << "listening on " << server.address() << Qt::endl;
    return app.exec();
}
