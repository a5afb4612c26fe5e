#include "BenchReport.h"
#include "EventLoopStallMeter.h"
#include "PageSteps.h"
#include "maps/CardImage.h"
#include "pages/card/CardSafetyCopy.h"
#include "platform/platform.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <utility>

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

// What card imagers do to check a copy: read it back from the medium, past the page cache.
QList<QStringList> readBackFromMedium(const QString &file)
{
    return {{QStringLiteral("dd"), QStringLiteral("if=") + file, QStringLiteral("iflag=direct"),
             QStringLiteral("bs=1M"), QStringLiteral("status=none")},
            {QStringLiteral("md5sum")}};
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
             return tools({cp, {QStringLiteral("sync"), card}}, readBackFromMedium(card));
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

// Keeps a safety copy of the card's map on the computer, as the page does before overwriting it,
// checked both ways; true when it was made.
bool keep(CardSafetyCopy &safetyCopy, double &longestStallMs)
{
    EventLoopStallMeter meter;
    QEventLoop loop;
    bool kept = false;
    QObject::connect(&safetyCopy, &CardSafetyCopy::finished, &loop, [&](bool ok) {
        kept = ok;
        loop.quit();
    });
    meter.start();
    safetyCopy.make();
    loop.exec();
    meter.stop();
    longestStallMs = std::max(longestStallMs, meter.longestStallMs());
    return kept;
}

// The usual card, with room for one map: the page first keeps a checked copy of the card's map on
// the computer, then overwrites the card's map in place, reads it back from the medium, syncs the
// card's folder and drops the safety copy. The same guarantee with standard tools: cp of the
// card's map to the computer, sync, both read back from the medium with dd iflag=direct | md5sum,
// then cp of the new map onto the card, sync, read back likewise, and rm of the copy.
void compareCopyWithoutRoom(const BenchReport::Options &options, const QString &image,
                            const QString &oldImage, const QString &cardRoot)
{
    const QString cardImage = CardImage::path(cardRoot);
    const QString computerCopy = CardSafetyCopy::folder() + QStringLiteral("/by-hand.img");
    QDir().mkpath(CardSafetyCopy::folder());
    const QString expectedMd5 = md5Of(image);
    const QString oldMd5 = md5Of(oldImage);
    double longestStallMs = 0.0;
    double ignoredStallMs = 0.0;
    bool verified = true;
    const auto readBack = [&](const QString &file) {
        return md5sumOf(readBackFromMedium(file), ignoredStallMs);
    };
    const auto run = [&](const QStringList &command) {
        verified = BenchReport::runTools({command}, ignoredStallMs) && verified;
    };
    const QList<QList<double>> seconds = BenchReport::alternate(
        options.runs,
        [&] {
            QFile::remove(cardImage);
            QFile::remove(computerCopy);
            verified = QFile::copy(oldImage, cardImage) && verified;
            BenchReport::startRun(BenchReport::Cache::Cold,
                                  {image, cardRoot, CardSafetyCopy::folder()});
        },
        {[&] {
             return BenchReport::timed([&] {
                 CardSafetyCopy safetyCopy(cardRoot);
                 verified = keep(safetyCopy, longestStallMs) &&
                            PageSteps::copy(image, cardImage, longestStallMs) &&
                            PageSteps::checksum(cardImage, expectedMd5, longestStallMs) &&
                            Platform::instance()->syncFolder(QFileInfo(cardImage).path()) &&
                            verified;
                 safetyCopy.discard();
             });
         },
         [&] {
             return BenchReport::timed([&] {
                 run({QStringLiteral("cp"), cardImage, computerCopy});
                 run({QStringLiteral("sync"), computerCopy});
                 verified =
                     readBack(cardImage) == oldMd5 && readBack(computerCopy) == oldMd5 && verified;
                 run({QStringLiteral("cp"), image, cardImage});
                 run({QStringLiteral("sync"), cardImage});
                 verified = readBack(cardImage) == expectedMd5 && verified;
                 run({QStringLiteral("rm"), computerCopy});
             });
         }});
    QFile::remove(cardImage);
    QFile::remove(computerCopy);

    BenchReport::printComparison(
        QStringLiteral("card-route/no-room-for-two"), seconds[0], seconds[1],
        QStringLiteral("%1 MiB over a card's map of the same size, a checked safety copy on the "
                       "computer first, against cp, sync and dd iflag=direct | md5sum doing the "
                       "same; longest event-loop stall %2 ms%3")
            .arg(options.size >> 20)
            .arg(longestStallMs, 0, 'f', 1)
            .arg(verified ? QString() : QStringLiteral("; A COPY DID NOT VERIFY")),
        1.0);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const BenchReport::Options options = BenchReport::options();
    const QString dir = options.scratch + QStringLiteral("/card-route");
    // The safety copies go to the program's cache folder: here, beside the card, not the user's.
    qputenv("XDG_CACHE_HOME", QFile::encodeName(dir + QStringLiteral("/cache")));
    const QString cardRoot = dir + QStringLiteral("/card");
    QDir().mkpath(cardRoot + QStringLiteral("/garmin"));
    const QString image = dir + QStringLiteral("/gmapsupp.img");
    const QString oldImage = dir + QStringLiteral("/old-gmapsupp.img");
    for (const auto &[path, seed] : {std::pair{image, 13u}, std::pair{oldImage, 17u}}) {
        if (!BenchReport::ensureRandomFile(path, options.size, seed)) {
            std::fprintf(stderr, "card-route: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    compareCopyWithRoom(options, image, dir + QStringLiteral("/card-gmapsupp.img"));
    compareCopyWithoutRoom(options, image, oldImage, cardRoot);
    return 0;
}
