// Extracts a generated zip of about 1 GiB in a few hundred files (half of them compressible, half
// random) with ArchiveExtractor on its own thread and with `bsdtar -xf`, the page cache dropped
// before every run, and prints the times, their ratio and the longest stall of the caller's event
// loop during our extraction, beside the same loop idling while bsdtar runs. A second line times
// ours with the block size the computer map page extracts with
// (DownloadMapPCPage::extractionBlockSize, 64 KiB, bsdtar's own read size for files) against the
// same bsdtar runs: the figure that page gets; the first shows what the extractor's 10240-byte
// default would cost it.

#include "BenchReport.h"
#include "EventLoopStallMeter.h"
#include "archive/ArchiveExtractor.h"
#include "pages/computer/DownloadMapPCPage.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>

#include <algorithm>
#include <archive.h>
#include <archive_entry.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Half random, half text that deflates about 5:1: for 1 GiB, a zip of about 1 GiB holding 400
// files, 1.6 GiB.
constexpr int FilesPerGiB = 400;
constexpr qint64 FileSize = 4 << 20;
constexpr int Chunk = 1 << 20;

[[noreturn]] void fail(const QString &message)
{
    std::fprintf(stderr, "extract-vs-bsdtar: %s\n", qPrintable(message));
    std::exit(1);
}

// A fast, reproducible generator: the same archive on every machine.
class Xorshift
{
public:
    quint64 next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return m_state;
    }

private:
    quint64 m_state = 0x9e3779b97f4a7c15ull;
};

void fillRandom(QByteArray &chunk, Xorshift &random)
{
    auto *words = reinterpret_cast<quint64 *>(chunk.data());
    for (qsizetype i = 0; i < chunk.size() / 8; ++i) {
        words[i] = random.next();
    }
}

// Text made of a small vocabulary, which deflate has real work to shrink.
void fillCompressible(QByteArray &chunk, Xorshift &random)
{
    static const QList<QByteArray> vocabulary = {
        "road",    "river",   "contour", "summit", "trail",   "bridge",   "lake",    "forest",
        "village", "highway", "ferry",   "marsh",  "glacier", "meadow",   "harbour", "tunnel",
        "ridge",   "valley",  "spring",  "canal",  "orchard", "vineyard", "quarry",  "dune",
        "0",       "1",       "2",       "3",      "4",       "5",        "6",       "7",
    };
    qsizetype at = 0;
    while (at < chunk.size()) {
        const quint64 r = random.next();
        const QByteArray &word = vocabulary.at(int(r % vocabulary.size()));
        const qsizetype n = std::min(word.size(), chunk.size() - at);
        std::memcpy(chunk.data() + at, word.constData(), size_t(n));
        at += n;
        if (at < chunk.size()) {
            chunk[at++] = (r >> 32) % 12 == 0 ? '\n' : ' ';
        }
    }
}

// Written once into the scratch folder and reused; a complete archive only ever carries its name.
QString ensureArchive(const QString &folder, int files)
{
    const QString path =
        folder + QStringLiteral("/extract-vs-bsdtar-%1x%2MiB.zip").arg(files).arg(FileSize >> 20);
    if (QFile::exists(path)) {
        return path;
    }
    std::fprintf(stderr, "extract-vs-bsdtar: generating %s (once)\n", qPrintable(path));
    const QString partial = path + QStringLiteral(".partial");
    archive *writer = archive_write_new();
    archive_write_set_format_zip(writer);
    archive_write_zip_set_compression_deflate(writer);
    if (archive_write_open_filename(writer, QFile::encodeName(partial).constData()) != ARCHIVE_OK) {
        fail(QString::fromUtf8(archive_error_string(writer)));
    }
    Xorshift random;
    QByteArray chunk(Chunk, Qt::Uninitialized);
    for (int i = 0; i < files; ++i) {
        const bool compressible = i % 2 == 0;
        const QByteArray name = QStringLiteral("HalvornBench/%1/%2.img")
                                    .arg(compressible ? "text" : "random")
                                    .arg(i, 4, 10, QLatin1Char('0'))
                                    .toUtf8();
        archive_entry *entry = archive_entry_new();
        archive_entry_set_pathname(entry, name.constData());
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_entry_set_size(entry, FileSize);
        archive_write_header(writer, entry);
        for (qint64 written = 0; written < FileSize; written += Chunk) {
            compressible ? fillCompressible(chunk, random) : fillRandom(chunk, random);
            if (archive_write_data(writer, chunk.constData(), size_t(chunk.size())) < 0) {
                fail(QString::fromUtf8(archive_error_string(writer)));
            }
        }
        archive_entry_free(entry);
    }
    if (archive_write_close(writer) != ARCHIVE_OK) {
        fail(QString::fromUtf8(archive_error_string(writer)));
    }
    archive_write_free(writer);
    if (!QFile::rename(partial, path)) {
        fail(QStringLiteral("cannot rename %1").arg(partial));
    }
    return path;
}

// Returns the longest stall of this thread's event loop during the extraction, in milliseconds.
double extractWithOurs(const QString &zip, const QString &output, int blockSize)
{
    ArchiveExtractor extractor(zip, output, nullptr, false);
    if (blockSize > 0) {
        extractor.setBlockSize(blockSize);
    }
    QEventLoop loop;
    QObject::connect(&extractor, &ArchiveExtractor::finished, &loop, &QEventLoop::quit);
    QObject::connect(&extractor, &ArchiveExtractor::error, &loop, [](short code) {
        fail(QStringLiteral("ArchiveExtractor error %1").arg(code));
    });
    EventLoopStallMeter meter;
    meter.start();
    extractor.start();
    loop.exec();
    meter.stop();
    return meter.longestStallMs();
}

// Returns the longest stall of this thread's event loop meanwhile: what the machine alone costs an
// idle loop, beside which our figure can be read.
double extractWithBsdtar(const QString &zip, const QString &output)
{
    double longestStallMs = 0.0;
    if (!BenchReport::runTool(QStringLiteral("bsdtar"),
                              {QStringLiteral("-xf"), zip, QStringLiteral("-C"), output},
                              longestStallMs)) {
        fail(QStringLiteral("bsdtar failed"));
    }
    return longestStallMs;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const BenchReport::Options options = BenchReport::options();
    // An even count, so that the halves stay equal.
    const int files = std::max(2, int(options.size * FilesPerGiB / (qint64(1) << 30)) / 2 * 2);
    const QString zip = ensureArchive(options.scratch, files);
    const QString output = options.scratch + QStringLiteral("/extract-vs-bsdtar.out");

    double oursStallMs = 0;
    double idleStallMs = 0;
    const int pageBlockSize = DownloadMapPCPage::extractionBlockSize;
    const QList<QList<double>> seconds = BenchReport::alternate(
        options.runs,
        [&] {
            QDir(output).removeRecursively();
            QDir().mkpath(output);
            BenchReport::startRun(BenchReport::Cache::Cold, {zip, output});
        },
        {[&] {
             return BenchReport::timed(
                 [&] { oursStallMs = std::max(oursStallMs, extractWithOurs(zip, output, 0)); });
         },
         [&] {
             return BenchReport::timed(
                 [&] { idleStallMs = std::max(idleStallMs, extractWithBsdtar(zip, output)); });
         },
         [&] {
             return BenchReport::timed([&] { extractWithOurs(zip, output, pageBlockSize); });
         }});
    QDir(output).removeRecursively();

    const QString notes = QStringLiteral("%1 files of %2 MiB; longest event-loop stall %3 ms (idle "
                                         "beside bsdtar: %4 ms)")
                              .arg(files)
                              .arg(FileSize >> 20)
                              .arg(oursStallMs, 0, 'f', 1)
                              .arg(idleStallMs, 0, 'f', 1);
    BenchReport::printComparison(QStringLiteral("extract-vs-bsdtar"), seconds[0], seconds[1],
                                 notes);
    BenchReport::printComparison(
        QStringLiteral("extract-vs-bsdtar/%1KiB").arg(pageBlockSize / 1024), seconds[2], seconds[1],
        QStringLiteral("ours with the map page's %1 KiB blocks").arg(pageBlockSize / 1024));
    return 0;
}
