#include "BenchReport.h"
#include "PageSteps.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <cstdio>

// The card page's transfer of a 1 GiB image, each run from a cold page cache, against standard
// tools doing the same work. One function per way the page transfers a map, each printing its
// lines.
namespace {

QString md5Of(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Md5);
    return file.open(QIODevice::ReadOnly) && hash.addData(&file)
               ? QString::fromLatin1(hash.result().toHex())
               : QString();
}

// The MD5 a pipeline of standard tools ending in md5sum prints, or nothing.
QString md5sumOf(const QList<QStringList> &commands, double &longestStallMs)
{
    const std::optional<QByteArray> output = BenchReport::runTools(commands, longestStallMs);
    return output ? QString::fromLatin1(*output).section(' ', 0, 0) : QString();
}

// The card has room for the new image: the page copies it with FileCopier and reads the copy
// back from the medium with its MD5 checked. Against two references: cp followed by md5sum, which
// reads the copy from the page cache; and the same guarantee as ours, what card imagers do: cp,
// sync, then the copy read back from the medium (dd iflag=direct, piped to md5sum).
void compareCopyWithRoom(const BenchReport::Options &options, const QString &image,
                         const QString &card)
{
    const QString expectedMd5 = md5Of(image);
    double longestStallMs = 0.0;
    double longestStallWithToolsMs = 0.0;
    double ignoredStallMs = 0.0;
    bool verified = true;
    const auto copyAndCheck = [&](CheckMd5Worker::ReadFrom readFrom, double &stallMs) {
        return BenchReport::timed([&] {
            verified = PageSteps::copy(image, card, stallMs) &&
                       PageSteps::checksum(card, expectedMd5, stallMs, readFrom) && verified;
        });
    };
    // Runs the tools in turn, the last a pipeline ending in md5sum whose digest is checked.
    const auto tools = [&](const QList<QStringList> &steps, const QList<QStringList> &check) {
        return BenchReport::timed([&] {
            for (const QStringList &step : steps) {
                verified = BenchReport::runTools({step}, longestStallWithToolsMs) && verified;
            }
            verified = md5sumOf(check, longestStallWithToolsMs) == expectedMd5 && verified;
        });
    };
    const QStringList cp{QStringLiteral("cp"), image, card};
    const QStringList md5sum{QStringLiteral("md5sum")};
    const QList<QList<double>> seconds = BenchReport::alternate(
        options.runs,
        [&] {
            QFile::remove(card);
            BenchReport::startRun(BenchReport::Cache::Cold, {image, card});
        },
        {[&] { return copyAndCheck(CheckMd5Worker::ReadFrom::Medium, longestStallMs); },
         [&] { return tools({cp}, {md5sum + QStringList{card}}); },
         [&] {
             return tools({cp, {QStringLiteral("sync"), card}},
                          {{QStringLiteral("dd"), QStringLiteral("if=") + card,
                            QStringLiteral("iflag=direct"), QStringLiteral("bs=1M"),
                            QStringLiteral("status=none")},
                           md5sum});
         },
         // Ours with the copy checked where md5sum checks it, in the page cache: what reading
         // back from the medium costs.
         [&] {
             return copyAndCheck(CheckMd5Worker::ReadFrom::Cache, ignoredStallMs);
         }});
    QFile::remove(card);

    const QString failed = verified ? QString() : QStringLiteral("; A COPY DID NOT VERIFY");
    BenchReport::printComparison(
        QStringLiteral("card-route"), seconds[0], seconds[1],
        QStringLiteral("%1 MiB, copy + read-back from the medium against cp + md5sum; longest "
                       "event-loop stall %2 ms (%3 ms while the tools ran); ours read back from "
                       "the page cache instead: %4 s (min/median/max)%5")
            .arg(options.size >> 20)
            .arg(longestStallMs, 0, 'f', 1)
            .arg(longestStallWithToolsMs, 0, 'f', 1)
            .arg(BenchReport::minMedianMax(seconds[3]), failed));
    BenchReport::printComparison(
        QStringLiteral("card-route/same-guarantee"), seconds[0], seconds[2],
        QStringLiteral("against cp, sync of the copy, dd iflag=direct bs=1M | md5sum") + failed,
        1.0);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const BenchReport::Options options = BenchReport::options();
    const QString dir = options.scratch + QStringLiteral("/card-route");
    QDir().mkpath(dir);
    const QString image = dir + QStringLiteral("/gmapsupp.img");
    if (!BenchReport::ensureRandomFile(image, options.size, 13)) {
        std::fprintf(stderr, "card-route: cannot write %s\n", qPrintable(image));
        return 1;
    }
    compareCopyWithRoom(options, image, dir + QStringLiteral("/card-gmapsupp.img"));
    return 0;
}
