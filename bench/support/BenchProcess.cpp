#include "BenchProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

namespace BenchProcess {

void fail(const QString &message)
{
    const QString name = QFileInfo(QCoreApplication::applicationFilePath())
                             .fileName()
                             .remove(QStringLiteral("bench-"));
    std::fprintf(stderr, "%s: %s\n", qPrintable(name), qPrintable(message));
    std::exit(1);
}

qint64 statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    // Read whole: the file announces a size of 0, so QFile's atEnd() would stop at once.
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(prefix)) {
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
        }
    }
    return 0;
}

void diesWithParent(QProcess &process)
{
#ifdef Q_OS_LINUX
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#else
    Q_UNUSED(process);
#endif
}

QString serviceDataFolder(const QString &scratch)
{
    // Where download-vs-curl has always kept them, so that earlier runs' files are found.
    const QString folder = scratch + QStringLiteral("/download-vs-curl/service");
    QDir().mkpath(folder);
    return folder;
}

QUrl startService(QProcess &service, const QString &dataDir, qint64 mapSize)
{
    diesWithParent(service);
    service.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    service.start(QStringLiteral(HALVORNSYNC_VENDOR_SERVICE_PATH),
                  {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--data"), dataDir,
                   QStringLiteral("--map-size"), QString::number(mapSize)});
    if (!service.waitForStarted()) {
        fail(QStringLiteral("cannot start the vendor service: %1").arg(service.errorString()));
    }
    if (QFileInfo(QDir(dataDir).filePath(QStringLiteral("halvorn-topo-norway.zip"))).size() <
        mapSize) {
        std::fprintf(stderr, "the service makes its %lld-byte sample files in %s (once; minutes)\n",
                     static_cast<long long>(mapSize), qPrintable(dataDir));
    }
    const QLatin1String listening("listening on ");
    while (service.canReadLine() || service.waitForReadyRead(-1)) {
        while (service.canReadLine()) {
            const QString line = QString::fromUtf8(service.readLine()).trimmed();
            if (line.startsWith(listening)) {
                return QUrl(line.mid(listening.size()));
            }
        }
    }
    fail(QStringLiteral("the vendor service did not start"));
}

namespace {
const QString childFlag = QStringLiteral("--our-download");
}

std::optional<std::pair<QUrl, QString>> downloadChild()
{
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 4 || arguments.at(1) != childFlag) {
        return std::nullopt;
    }
    return std::pair{QUrl(arguments.at(2)), arguments.at(3)};
}

QStringList downloadChildArguments(const QUrl &url, const QString &target)
{
    return {childFlag, url.toString(), target};
}

QByteArrayList runSelf(const QUrl &serviceUrl, const QStringList &arguments, int fieldCount)
{
    QProcess child;
    diesWithParent(child);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Core warms a connection to the service it is built for; pointed at the loopback service
    // over plain http, it leaves the network alone.
    environment.insert(QStringLiteral("HALVORNSYNC_SERVICE_URL"), serviceUrl.toString());
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit ||
        child.exitCode() != 0) {
        fail(QStringLiteral("our download's process failed with code %1").arg(child.exitCode()));
    }
    const QByteArrayList fields = child.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() != fieldCount) {
        fail(QStringLiteral("our download's process reported nothing"));
    }
    return fields;
}

} // namespace BenchProcess
