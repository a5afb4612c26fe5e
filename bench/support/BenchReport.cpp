#include "BenchReport.h"

#include "EventLoopStallMeter.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace BenchReport {

double medianSeconds(int runs, const std::function<void()> &work,
                     const std::function<void()> &prepare)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        if (prepare) {
            prepare();
        }
        QElapsedTimer clock;
        clock.start();
        work();
        times.append(clock.nsecsElapsed() / 1e9);
    }
    return median(times);
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0.0 : values.at(values.size() / 2);
}

double processorSeconds(bool children)
{
    rusage usage{};
    ::getrusage(children ? RUSAGE_CHILDREN : RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) {
        return double(t.tv_sec) + t.tv_usec / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void printRatio(const QString &name, double oursSeconds, double referenceSeconds,
                const QString &notes)
{
    const double ratio = oursSeconds > 0.0 ? referenceSeconds / oursSeconds : 0.0;
    std::printf("%s: ours %.3f s, reference %.3f s, speed ratio %.2f%s%s\n", qPrintable(name),
                oursSeconds, referenceSeconds, ratio, notes.isEmpty() ? "" : "; ",
                qPrintable(notes));
    std::fflush(stdout);
}

bool dropPageCache()
{
    ::sync();
    QFile control(QStringLiteral("/proc/sys/vm/drop_caches"));
    return control.open(QIODevice::WriteOnly) && control.write("3\n") == 2;
}

bool ensureRandomFile(const QString &path, qint64 size, quint32 seed)
{
    if (QFileInfo(path).size() == size) {
        return true;
    }
    std::fprintf(stderr, "generating %s (once)\n", qPrintable(path));
    // Under another name until whole, so an interrupted run never leaves a short file to reuse.
    const QString partial = path + QStringLiteral(".partial");
    QFile file(partial);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    QRandomGenerator generator(seed);
    for (qint64 written = 0; written < size; written += chunk.size()) {
        generator.fillRange(reinterpret_cast<quint32 *>(chunk.data()), chunk.size() / 4);
        const qint64 count = qMin<qint64>(chunk.size(), size - written);
        if (file.write(chunk.constData(), count) != count) {
            return false;
        }
    }
    file.close();
    QFile::remove(path);
    return QFile::rename(partial, path);
}

void readThrough(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        QByteArray buffer(1 << 20, Qt::Uninitialized);
        while (file.read(buffer.data(), buffer.size()) > 0) {
        }
    }
}

bool startCold(const QString &input)
{
    if (dropPageCache()) {
        return true;
    }
    readThrough(input);
    return false;
}

std::optional<QByteArray> runTool(const QString &program, const QStringList &arguments,
                                  double &longestStallMs)
{
    QProcess tool;
    EventLoopStallMeter meter;
    QEventLoop loop;
    QObject::connect(&tool, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&tool, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    meter.start();
    tool.start(program, arguments);
    loop.exec();
    meter.stop();
    longestStallMs = std::max(longestStallMs, meter.longestStallMs());
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program),
                     qPrintable(tool.error() == QProcess::FailedToStart
                                    ? tool.errorString()
                                    : QString::fromLocal8Bit(tool.readAllStandardError())));
        return std::nullopt;
    }
    return tool.readAllStandardOutput();
}

} // namespace BenchReport
