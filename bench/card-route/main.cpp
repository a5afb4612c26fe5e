#include "BenchReport.h"
#include "PageSteps.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <cstdio>

// The card page's whole transfer of a 1 GiB image: the copy with FileCopier, then the read-back
// of the copy from the medium with its MD5 checked, as the page does it; against cp followed by
// md5sum of the copy. Each run starts from a cold page cache where the system allows it.
namespace {
constexpr qint64 fileSize = qint64(1) << 30;
constexpr int runs = 3;

QString md5Of(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Md5);
    return file.open(QIODevice::ReadOnly) && hash.addData(&file)
               ? QString::fromLatin1(hash.result().toHex())
               : QString();
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString dir = qEnvironmentVariable("HALVORNSYNC_BENCH_DIR", QDir::tempPath()) +
                        QStringLiteral("/card-route");
    QDir().mkpath(dir);
    const QString image = dir + QStringLiteral("/gmapsupp.img");
    const QString card = dir + QStringLiteral("/card-gmapsupp.img");
    if (!BenchReport::ensureRandomFile(image, fileSize, 13)) {
        std::fprintf(stderr, "card-route: cannot write %s\n", qPrintable(image));
        return 1;
    }
    const QString expectedMd5 = md5Of(image);

    bool cacheDropped = true;
    const auto prepare = [&] {
        QFile::remove(card);
        cacheDropped = BenchReport::startCold(image) && cacheDropped;
    };

    double longestStallMs = 0.0;
    bool verified = true;
    const double ours = BenchReport::medianSeconds(
        runs,
        [&] {
            verified = PageSteps::copy(image, card, longestStallMs) &&
                       PageSteps::checksum(card, expectedMd5, longestStallMs) && verified;
        },
        prepare);
    // The same with the copy checked where md5sum checks it, in the page cache: what reading
    // back from the medium costs.
    double ignoredStallMs = 0.0;
    const double oursFromCache = BenchReport::medianSeconds(
        runs,
        [&] {
            PageSteps::copy(image, card, ignoredStallMs);
            PageSteps::checksum(card, expectedMd5, ignoredStallMs, CheckMd5Worker::ReadFrom::Cache);
        },
        prepare);
    double longestStallWithToolsMs = 0.0;
    const double reference = BenchReport::medianSeconds(
        runs,
        [&] {
            BenchReport::runTool(QStringLiteral("cp"), {image, card}, longestStallWithToolsMs);
            BenchReport::runTool(QStringLiteral("md5sum"), {card}, longestStallWithToolsMs);
        },
        prepare);
    QFile::remove(card);

    QString notes =
        QStringLiteral("1 GiB, copy + read-back from the medium, median of %1 runs, %2; longest "
                       "event-loop stall %3 ms (%4 ms while cp and md5sum ran)")
            .arg(runs)
            .arg(cacheDropped ? QStringLiteral("page cache dropped before each run")
                              : QStringLiteral("image cached before each run"))
            .arg(longestStallMs, 0, 'f', 1)
            .arg(longestStallWithToolsMs, 0, 'f', 1) +
        QStringLiteral("; read back from the page cache instead: %1 s")
            .arg(oursFromCache, 0, 'f', 3);
    if (!verified) {
        notes += QStringLiteral("; THE COPY DID NOT VERIFY");
    }
    BenchReport::printRatio(QStringLiteral("card-route"), ours, reference, notes);
    return 0;
}
