#include "BenchReport.h"

#include "EventLoopStallMeter.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace BenchReport {

namespace {

// Writes still to come after a sync count as none below this: other programs keep writing a
// little, and a few megabytes are nothing beside the gigabyte a run moves.
constexpr qint64 settledKiB = 8 << 10;
constexpr int settleBoundMs = 30000;

// How the runs of this program started, for the lines it prints.
struct Starts
{
    int runs = 0;
    int dropped = 0;
    int evicted = 0;
    int warmed = 0;
    int unsettled = 0;
    qint64 mostUnwrittenKiB = 0;
};
Starts starts;

// What the kernel holds that is not on the disk yet (dirty or under writeback); 0 where it does
// not say.
qint64 unwrittenKiB()
{
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (!meminfo.open(QIODevice::ReadOnly)) {
        return 0;
    }
    qint64 total = 0;
    // Read whole: the file announces a size of 0.
    for (const QByteArray &line : meminfo.readAll().split('\n')) {
        if (line.startsWith("Dirty:") || line.startsWith("Writeback:")) {
            total += line.mid(line.indexOf(':') + 1).trimmed().split(' ').value(0).toLongLong();
        }
    }
    return total;
}

// Returns when everything written before is on the disk, or after the bound; false then.
bool settleWrites()
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        ::sync();
        const qint64 unwritten = unwrittenKiB();
        if (unwritten <= settledKiB) {
            return true;
        }
        if (clock.elapsed() > settleBoundMs) {
            starts.mostUnwrittenKiB = std::max(starts.mostUnwrittenKiB, unwritten);
            return false;
        }
        QThread::msleep(50);
    }
}

// Drops the clean pages, dentries and inodes of the whole page cache; false when not permitted.
bool dropPageCache()
{
    QFile control(QStringLiteral("/proc/sys/vm/drop_caches"));
    return control.open(QIODevice::WriteOnly) && control.write("3\n") == 2;
}

void forEachFile(const QStringList &paths, const std::function<void(const QString &)> &visit)
{
    for (const QString &path : paths) {
        if (!QFileInfo(path).isDir()) {
            visit(path);
            continue;
        }
        QDirIterator files(path, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            visit(files.next());
        }
    }
}

// Asks the kernel to forget the file's cached pages; they are clean once writes have settled.
void evict(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

QString startsText()
{
    const auto counted = [](int count, const QString &what) {
        return count == starts.runs
                   ? what
                   : QStringLiteral("%1 (%2 of %3 runs)").arg(what).arg(count).arg(starts.runs);
    };
    QStringList done;
    if (starts.dropped > 0) {
        done << counted(starts.dropped, QStringLiteral("page cache dropped"));
    }
    if (starts.evicted > 0) {
        done << counted(starts.evicted,
                        QStringLiteral("inputs evicted from the page cache with posix_fadvise "
                                       "(dropping the cache is not permitted)"));
    }
    if (starts.warmed > 0) {
        done << counted(starts.warmed, QStringLiteral("input read into the page cache"));
    }
    QString text = QStringLiteral("before each: earlier writes on the disk, ") +
                   done.join(QStringLiteral(", "));
    if (starts.unsettled > 0) {
        text += QStringLiteral(" (BUT writeback not done within %1 s before %2 runs, up to %3 MiB "
                               "left)")
                    .arg(settleBoundMs / 1000)
                    .arg(starts.unsettled)
                    .arg(starts.mostUnwrittenKiB >> 10);
    }
    return text;
}

// The farthest any of `values` lies from `centre`, as a fraction of it.
double farthestFrom(const QList<double> &values, double centre)
{
    double farthest = 0.0;
    for (const double value : values) {
        farthest = std::max(farthest, centre > 0.0 ? std::abs(value / centre - 1.0) : 0.0);
    }
    return farthest;
}

} // namespace

Options options()
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Times our code against a standard tool and prints one line each."));
    parser.addHelpOption();
    const QCommandLineOption runsOption(QStringLiteral("runs"),
                                        QStringLiteral("Timed runs of each side (default 5)."),
                                        QStringLiteral("N"), QStringLiteral("5"));
    const QCommandLineOption sizeOption(
        QStringLiteral("size"), QStringLiteral("Size of the main input in MiB (default 1024)."),
        QStringLiteral("MiB"), QStringLiteral("1024"));
    parser.addOptions({runsOption, sizeOption});
    parser.process(*QCoreApplication::instance());
    Options result;
    bool runsOk = false;
    bool sizeOk = false;
    result.runs = parser.value(runsOption).toInt(&runsOk);
    const qint64 sizeMiB = parser.value(sizeOption).toLongLong(&sizeOk);
    if (!runsOk || result.runs < 1 || !sizeOk || sizeMiB < 1 || sizeMiB > (1 << 20) ||
        !parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "%s: --runs and --size take a positive number, nothing else\n",
                     qPrintable(QCoreApplication::applicationName()));
        std::exit(2);
    }
    result.size = sizeMiB << 20;
    result.scratch = qEnvironmentVariable("HALVORNSYNC_BENCH_DIR", QDir::tempPath());
    if (result.size != Options().size) {
        result.scratch += QStringLiteral("/%1MiB").arg(sizeMiB);
    }
    QDir().mkpath(result.scratch);
    return result;
}

void startRun(Cache cache, const QStringList &files)
{
    ++starts.runs;
    if (!settleWrites()) {
        ++starts.unsettled;
    }
    if (cache == Cache::Warm) {
        forEachFile(files, readThrough);
        ++starts.warmed;
    } else if (dropPageCache()) {
        ++starts.dropped;
    } else {
        forEachFile(files, evict);
        ++starts.evicted;
    }
}

double timed(const std::function<void()> &work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return clock.nsecsElapsed() / 1e9;
}

QList<QList<double>> alternate(int runs, const std::function<void()> &prepare,
                               const QList<std::function<double()>> &sides)
{
    QList<QList<double>> seconds(sides.size());
    for (int round = -1; round < runs; ++round) {
        for (qsizetype turn = 0; turn < sides.size(); ++turn) {
            const qsizetype side = round % 2 == 0 ? turn : sides.size() - 1 - turn;
            prepare();
            const double taken = sides[side]();
            if (round >= 0) {
                seconds[side].append(taken);
            }
        }
    }
    return seconds;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0.0 : values.at(values.size() / 2);
}

QString minMedianMax(const QList<double> &values)
{
    if (values.isEmpty()) {
        return QStringLiteral("-");
    }
    const auto [least, most] = std::minmax_element(values.begin(), values.end());
    return QStringLiteral("%1/%2/%3")
        .arg(*least, 0, 'f', 3)
        .arg(median(values), 0, 'f', 3)
        .arg(*most, 0, 'f', 3);
}

void printComparison(const QString &name, const QList<double> &ours, const QList<double> &reference,
                     const QString &notes, double goal)
{
    const double oursMedian = median(ours);
    const double referenceMedian = median(reference);
    const double ratio = oursMedian > 0.0 ? referenceMedian / oursMedian : 0.0;
    QList<double> pairs;
    for (qsizetype i = 0; i < std::min(ours.size(), reference.size()); ++i) {
        pairs.append(ours.at(i) > 0.0 ? reference.at(i) / ours.at(i) : 0.0);
    }
    const auto [leastPair, mostPair] = std::minmax_element(pairs.begin(), pairs.end());
    const double spread =
        std::max({farthestFrom(ours, oursMedian), farthestFrom(reference, referenceMedian),
                  farthestFrom(pairs, ratio)});
    QString line =
        QStringLiteral("%1: ours %2 s, reference %3 s, speed ratio %4 (pairs %5..%6); "
                       "min/median/max ours %7 s, reference %8 s; spread ±%9 %, %10; %11 each "
                       "in turn after an untimed round, %12")
            .arg(name)
            .arg(oursMedian, 0, 'f', 3)
            .arg(referenceMedian, 0, 'f', 3)
            .arg(ratio, 0, 'f', 2)
            .arg(pairs.isEmpty() ? 0.0 : *leastPair, 0, 'f', 2)
            .arg(pairs.isEmpty() ? 0.0 : *mostPair, 0, 'f', 2)
            .arg(minMedianMax(ours), minMedianMax(reference))
            .arg(std::lround(spread * 100))
            .arg(spread > 0.15 ? QStringLiteral("unsteady") : QStringLiteral("steady"))
            .arg(ours.size() == 1 ? QStringLiteral("1 run")
                                  : QStringLiteral("%1 runs").arg(ours.size()))
            .arg(startsText());
    if (!notes.isEmpty()) {
        line += QStringLiteral("; ") + notes;
    }
    if (goal > 0.0) {
        line += QStringLiteral("; goal: speed ratio >= %1 %2")
                    .arg(goal, 0, 'f', 2)
                    .arg(ratio >= goal ? QStringLiteral("met") : QStringLiteral("MISSED"));
    }
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
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

std::optional<QByteArray> runTools(const QList<QStringList> &commands, double &longestStallMs)
{
    std::vector<std::unique_ptr<QProcess>> tools;
    for (qsizetype i = 0; i < commands.size(); ++i) {
        tools.push_back(std::make_unique<QProcess>());
        if (i > 0) {
            tools[i - 1]->setStandardOutputProcess(tools[i].get());
        }
    }
    QEventLoop loop;
    qsizetype running = 0;
    bool failedToStart = false;
    const auto ended = [&] {
        if (--running == 0) {
            loop.quit();
        }
    };
    for (const auto &tool : tools) {
        QObject::connect(tool.get(), &QProcess::finished, &loop, ended);
        QObject::connect(tool.get(), &QProcess::errorOccurred, &loop,
                         [&](QProcess::ProcessError error) {
                             if (error == QProcess::FailedToStart) {
                                 // The rest of the pipeline would wait for it for ever.
                                 failedToStart = true;
                                 for (const auto &other : tools) {
                                     other->kill();
                                 }
                                 ended();
                             }
                         });
    }
    EventLoopStallMeter meter;
    meter.start();
    for (qsizetype i = 0; i < commands.size() && !failedToStart; ++i) {
        ++running;
        tools[i]->start(commands[i].value(0), commands[i].mid(1));
    }
    if (running > 0) {
        loop.exec();
    }
    meter.stop();
    longestStallMs = std::max(longestStallMs, meter.longestStallMs());
    bool succeeded = !failedToStart;
    for (qsizetype i = 0; i < commands.size(); ++i) {
        QProcess &tool = *tools[i];
        if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0 ||
            tool.error() == QProcess::FailedToStart) {
            std::fprintf(stderr, "%s failed: %s\n", qPrintable(commands[i].value(0)),
                         qPrintable(tool.error() == QProcess::FailedToStart
                                        ? tool.errorString()
                                        : QString::fromLocal8Bit(tool.readAllStandardError())));
            succeeded = false;
        }
    }
    if (!succeeded) {
        return std::nullopt;
    }
    return tools.empty() ? QByteArray() : tools.back()->readAllStandardOutput();
}

std::optional<QByteArray> runTool(const QString &program, const QStringList &arguments,
                                  double &longestStallMs)
{
    return runTools({QStringList{program} + arguments}, longestStallMs);
}

} // namespace BenchReport
