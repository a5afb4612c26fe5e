#include "ArchiveBuilder.h"
#include "TestMain.h"
#include "archive/ArchiveExtractor.h"

#include <QBuffer>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QRandomGenerator>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QThread>

#include <archive.h>
#include <archive_entry.h>
#include <atomic>
#include <cstring>

namespace {

// Extraction is quick, but the machine running the tests may be busy.
constexpr int Patience = 30000;

struct Progress
{
    QString path;
    int processed;
    int total;
    int percent;
};

// Records what an extractor reports, in order, on the test's thread.
class Recorder : public QObject
{
public:
    explicit Recorder(ArchiveExtractor *extractor)
    {
        const auto note = [this](const QString &event) {
            events.append(event);
        };
        using E = ArchiveExtractor;
        connect(extractor, &E::started, this, [note] { note(QStringLiteral("started")); });
        connect(extractor, &E::paused, this, [note] { note(QStringLiteral("paused")); });
        connect(extractor, &E::resumed, this, [note] { note(QStringLiteral("resumed")); });
        connect(extractor, &E::canceled, this, [note] { note(QStringLiteral("canceled")); });
        connect(extractor, &E::finished, this, [note] { note(QStringLiteral("finished")); });
        connect(extractor, &E::error, this, [this, note](short code) {
            errors.append(code);
            note(QStringLiteral("error %1").arg(code));
        });
        connect(extractor, &E::extractionRequirePassword, this,
                [note](int tries) { note(QStringLiteral("password %1").arg(tries)); });
        connect(extractor, &E::progress, this,
                [this](const QString &path, int processed, int total, int percent) {
                    progress.append({path, processed, total, percent});
                });
        connect(extractor, &E::info, this, [this](const QJsonObject &info) { infos.append(info); });
    }

    // How many runs have come to rest: finished, paused, canceled or failed.
    int ends() const
    {
        static const QRegularExpression end(QStringLiteral("^(finished|paused|canceled|error)"));
        return int(events.filter(end).size());
    }

    QStringList events;
    QList<short> errors;
    QList<Progress> progress;
    QList<QJsonObject> infos;
};

// A seekable device in memory that notes how it is read.
class CountingDevice : public QIODevice
{
public:
    explicit CountingDevice(const QByteArray &data)
        : m_data(data)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

    qint64 size() const override { return m_data.size(); }

    int reads = 0;
    qint64 largestRead = 0;

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        ++reads;
        largestRead = std::max(largestRead, maxSize);
        const qint64 count = std::max<qint64>(0, std::min(maxSize, size() - pos()));
        std::memcpy(data, m_data.constData() + pos(), size_t(count));
        return count;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_data;
};

class SequentialBuffer : public QBuffer
{
public:
    bool isSequential() const override { return true; }
};

QByteArray randomBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(bytes.data()), size / 4);
    return bytes;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Every file and link below `folder`, relative to it, sorted.
QStringList filesUnder(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files.append(QDir(folder).relativeFilePath(it.next()));
    }
    files.sort();
    return files;
}

ArchiveBuilder manyEntries(int count)
{
    ArchiveBuilder builder;
    for (int i = 0; i < count; ++i) {
        builder.file(QStringLiteral("tiles/%1.img").arg(i, 3, 10, QLatin1Char('0')),
                     randomBytes(20000));
    }
    return builder;
}

// AES-256 checks a passphrase against 16 bits only, so one archive in 65536 would take `wrong` for
// the right one and fail later with a data error.
bool rejectsPassphrase(const QByteArray &zip, const char *wrong)
{
    archive *reader = archive_read_new();
    archive_read_support_format_zip(reader);
    archive_read_add_passphrase(reader, wrong);
    archive_read_open_memory(reader, zip.constData(), size_t(zip.size()));
    archive_entry *entry = nullptr;
    char block[64];
    archive_read_next_header(reader, &entry);
    const bool rejected = archive_read_data(reader, block, sizeof block) < 0 &&
                          qstrcmp(archive_error_string(reader), "Incorrect passphrase") == 0;
    archive_read_free(reader);
    return rejected;
}

} // namespace

class TestArchiveExtractor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void extractsArchive_data();
    void extractsArchive();
    void reportsFailures_data();
    void reportsFailures();
    void truncatedArchiveKeepsEarlierEntries();
    void passwords();
    void progress_data();
    void progress();
    void filters_data();
    void filters();
    void pauseAndResume_data();
    void pauseAndResume();
    void cancelAndRunAgain_data();
    void cancelAndRunAgain();
    void clearWhilePausedStartsOver();
    void describesEntries_data();
    void describesEntries();
    void descriptionIsCachedButFailuresAreNot();
    void progressEndsAtHundredWithRepeatedPaths();
    void writesIntoTheOutputFolder_data();
    void writesIntoTheOutputFolder();
    void hardLinksPointIntoTheOutputFolder();
    void refusesWritingOutsideTheOutputFolder_data();
    void refusesWritingOutsideTheOutputFolder();
    void readsTheDeviceInBlocks_data();
    void readsTheDeviceInBlocks();
    void destroyedWhileItsThreadRuns();
    void deletedFromItsOwnSignal_data();
    void deletedFromItsOwnSignal();

private:
    QString save(const ArchiveBuilder &builder);
    QString save(const QByteArray &bytes);

    QTemporaryDir m_root;
    QString m_outside;
    QString m_out;
    QString m_startDirectory;
    int m_case = 0;
};

void TestArchiveExtractor::initTestCase()
{
    QVERIFY(m_root.isValid());
    m_outside = m_root.filePath(QStringLiteral("outside"));
    m_startDirectory = QDir::currentPath();
}

void TestArchiveExtractor::init()
{
    m_out = m_root.filePath(QStringLiteral("out-%1").arg(++m_case));
    QVERIFY(QDir().mkpath(m_out));
    QDir(m_outside).removeRecursively();
    QVERIFY(QDir().mkpath(m_outside));
    QFile victim(m_outside + QStringLiteral("/victim"));
    QVERIFY(victim.open(QIODevice::WriteOnly) && victim.write("victim\n") == 7);
}

void TestArchiveExtractor::cleanup()
{
    QDir::setCurrent(m_startDirectory);
}

QString TestArchiveExtractor::save(const ArchiveBuilder &builder)
{
    return save(builder.build());
}

QString TestArchiveExtractor::save(const QByteArray &bytes)
{
    const QString path = m_root.filePath(QStringLiteral("archive-%1").arg(m_case));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}

void TestArchiveExtractor::extractsArchive_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("singleThreaded");
    QTest::newRow("zip, own thread") << int(ArchiveBuilder::Zip) << false;
    QTest::newRow("zip, caller's thread") << int(ArchiveBuilder::Zip) << true;
    QTest::newRow("tar.gz, own thread") << int(ArchiveBuilder::TarGz) << false;
    QTest::newRow("tar.gz, caller's thread") << int(ArchiveBuilder::TarGz) << true;
}

void TestArchiveExtractor::extractsArchive()
{
    QFETCH(int, format);
    QFETCH(bool, singleThreaded);
    const QByteArray tile = randomBytes(300000) + QByteArray(300000, 'm');
    const QString path = save(ArchiveBuilder(ArchiveBuilder::Format(format))
                                  .directory(QStringLiteral("HalvornMap/"))
                                  .file(QStringLiteral("HalvornMap/Info.xml"), "<Info/>")
                                  .file(QStringLiteral("HalvornMap/tiles/0001.img"), tile)
                                  .directory(QStringLiteral("HalvornMap/empty/")));

    ArchiveExtractor extractor(path, m_out, nullptr, singleThreaded);
    Recorder recorder(&extractor);
    extractor.start();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.ends(), 1, Patience);

    QCOMPARE(recorder.events, QStringList({"started", "finished"}));
    QCOMPARE(readFile(m_out + QStringLiteral("/HalvornMap/tiles/0001.img")), tile);
    QCOMPARE(readFile(m_out + QStringLiteral("/HalvornMap/Info.xml")), QByteArray("<Info/>"));
    QVERIFY(QFileInfo(m_out + QStringLiteral("/HalvornMap/empty")).isDir());
    QCOMPARE(
        QFileInfo(m_out + QStringLiteral("/HalvornMap/Info.xml")).lastModified().toSecsSinceEpoch(),
        ArchiveBuilder::EntryTime);
}

namespace {
enum Setup
{
    NothingSet,
    MissingFile,
    FolderAsArchive,
    NoReadPermission,
    NotAnArchive,
    OutputIsAFile,
    DeviceNotOpen,
    DeviceWriteOnly,
    DeviceSequential,
};
} // namespace

void TestArchiveExtractor::reportsFailures_data()
{
    QTest::addColumn<int>("setup");
    QTest::addColumn<int>("code");
    QTest::newRow("no archive") << int(NothingSet) << 3;
    QTest::newRow("missing archive") << int(MissingFile) << 4;
    QTest::newRow("folder as archive") << int(FolderAsArchive) << 16;
    QTest::newRow("no read permission") << int(NoReadPermission) << 14;
    QTest::newRow("not an archive") << int(NotAnArchive) << 5;
    QTest::newRow("output folder is a file") << int(OutputIsAFile) << 15;
    QTest::newRow("device not open") << int(DeviceNotOpen) << 10;
    QTest::newRow("device write-only") << int(DeviceWriteOnly) << 9;
    QTest::newRow("sequential device") << int(DeviceSequential) << 5;
}

void TestArchiveExtractor::reportsFailures()
{
    QFETCH(int, setup);
    QFETCH(int, code);
    const QByteArray zip = ArchiveBuilder().file(QStringLiteral("a.txt"), "a").build();
    QString archivePath = save(zip);
    QString output = m_out;
    QBuffer buffer;
    SequentialBuffer sequential;

    ArchiveExtractor extractor;
    Recorder recorder(&extractor);
    switch (setup) {
    case MissingFile:
        archivePath += QStringLiteral(".missing");
        break;
    case FolderAsArchive:
        archivePath = m_outside;
        break;
    case NoReadPermission:
        QVERIFY(QFile::setPermissions(archivePath, QFile::WriteOwner));
        break;
    case NotAnArchive:
        archivePath = save(randomBytes(4096));
        break;
    case OutputIsAFile:
        output = archivePath;
        break;
    case DeviceNotOpen:
    case DeviceWriteOnly:
        buffer.setData(zip);
        if (setup == DeviceWriteOnly) {
            QVERIFY(buffer.open(QIODevice::WriteOnly));
        }
        extractor.setArchive(&buffer);
        break;
    case DeviceSequential:
        sequential.setData(zip);
        QVERIFY(sequential.open(QIODevice::ReadOnly));
        extractor.setArchive(&sequential);
        break;
    }
    if (setup != NothingSet && setup < DeviceNotOpen) {
        extractor.setArchive(archivePath);
    }
    extractor.setOutputDirectory(output);
    extractor.start();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.ends(), 1, Patience);

    QCOMPARE(recorder.errors, QList<short>{short(code)});
    QCOMPARE(filesUnder(m_out), QStringList());
}

void TestArchiveExtractor::truncatedArchiveKeepsEarlierEntries()
{
    const QByteArray zip = ArchiveBuilder()
                               .file(QStringLiteral("first.txt"), "first")
                               .file(QStringLiteral("second.txt"), "second")
                               .file(QStringLiteral("third.img"), randomBytes(200000))
                               .build();
    ArchiveExtractor extractor(save(zip.left(zip.size() / 2)), m_out, nullptr, false);
    Recorder recorder(&extractor);
    extractor.start();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.ends(), 1, Patience);

    QCOMPARE(recorder.errors, QList<short>{ArchiveExtractor::CannotReadArchive});
    QCOMPARE(readFile(m_out + QStringLiteral("/first.txt")), QByteArray("first"));
    QCOMPARE(readFile(m_out + QStringLiteral("/second.txt")), QByteArray("second"));
}

void TestArchiveExtractor::passwords()
{
    const QByteArray secret = randomBytes(50000);
    const ArchiveBuilder builder =
        ArchiveBuilder().file(QStringLiteral("secret.img"), secret).encrypt("open sesame");
    QByteArray zip;
    do {
        zip = builder.build();
    } while (!rejectsPassphrase(zip, "wrong"));

    ArchiveExtractor extractor(save(zip), m_out, nullptr, false);
    Recorder recorder(&extractor);
    extractor.start();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.ends(), 1, Patience);
    extractor.setPassword(QStringLiteral("wrong"));
    extractor.start();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.ends(), 2, Patience);
    extractor.setPassword(QStringLiteral("open sesame"));
    extractor.start();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.ends(), 3, Patience);

    QCOMPARE(recorder.events, QStringList({"started", "password 0", "error 11", //
                                           "started", "password 1", "error 12", //
                                           "started", "finished"}));
    QCOMPARE(readFile(m_out + QStringLiteral("/secret.img")), secret);
}

void TestArchiveExtractor::progress_data()
{
    QTest::addColumn<bool>("calculate");
    QTest::newRow("without calculation") << false;
    QTest::newRow("with calculation") << true;
}

void TestArchiveExtractor::progress()
{
    QFETCH(bool, calculate);
    const QStringList entries = {"a.txt", "b/c.txt", "b/d.txt", "e.txt"};
    ArchiveBuilder builder;
    for (const QString &entry : entries) {
        builder.file(entry, entry.toUtf8());
    }
    ArchiveExtractor extractor(save(builder), m_out, nullptr, false);
    extractor.setCalculateProgress(calculate);
    Recorder recorder(&extractor);
    extractor.start();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.ends(), 1, Patience);

    QCOMPARE(recorder.events.last(), QStringLiteral("finished"));
    QCOMPARE(recorder.progress.size(), entries.size());
    const QString folder = QFileInfo(m_out).canonicalFilePath() + QLatin1Char('/');
    for (int i = 0; i < entries.size(); ++i) {
        const Progress &p = recorder.progress.at(i);
        QCOMPARE(p.path, folder + entries.at(i));
        QCOMPARE(p.processed, calculate ? i + 1 : 0);
        QCOMPARE(p.total, calculate ? 4 : 0);
        QCOMPARE(p.percent, calculate ? (i + 1) * 25 : 0);
    }
}

void TestArchiveExtractor::filters_data()
{
    QTest::addColumn<QStringList>("filters");
    QTest::addColumn<QStringList>("written");
    QTest::newRow("exact path") << QStringList{"docs/readme.txt"} << QStringList{"docs/readme.txt"};
    QTest::newRow("case differs") << QStringList{"DOCS/README.TXT"} << QStringList{};
    QTest::newRow("folder only") << QStringList{"docs"} << QStringList{};
    QTest::newRow("several") << QStringList{"maps/a.img", "docs/Readme.txt"}
                             << QStringList{"docs/Readme.txt", "maps/a.img"};
}

void TestArchiveExtractor::filters()
{
    QFETCH(QStringList, filters);
    QFETCH(QStringList, written);
    const QStringList entries = {"docs/Readme.txt", "docs/readme.txt", "maps/a.img"};
    ArchiveBuilder builder;
    for (const QString &entry : entries) {
        builder.file(entry, entry.toUtf8());
    }
    ArchiveExtractor extractor(save(builder), m_out);
    extractor.addFilter(filters.first());
    extractor.addFilter(filters.mid(1));
    Recorder recorder(&extractor);
    extractor.start();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.ends(), 1, Patience);

    QCOMPARE(recorder.events.last(), QStringLiteral("finished"));
    QCOMPARE(filesUnder(m_out), written);
    // Skipped entries are still reported, under their own path.
    const QString folder = QFileInfo(m_out).canonicalFilePath() + QLatin1Char('/');
    QStringList reported;
    for (const Progress &p : recorder.progress) {
        reported.append(p.path);
    }
    QStringList expected;
    for (const QString &entry : entries) {
        expected.append(written.contains(entry) ? folder + entry : entry);
    }
    QCOMPARE(reported, expected);
}

void TestArchiveExtractor::pauseAndResume_data()
{
    QTest::addColumn<bool>("singleThreaded");
    QTest::newRow("own thread") << false;
    QTest::newRow("caller's thread") << true;
}

void TestArchiveExtractor::pauseAndResume()
{
    QFETCH(bool, singleThreaded);
    ArchiveExtractor extractor(save(manyEntries(40)), m_out, nullptr, singleThreaded);
    extractor.setCalculateProgress(true);
    Recorder recorder(&extractor);
    std::atomic_int pauseAt = 5;
    // Direct: asks from the worker's thread, so the pause lands right after that entry.
    connect(
        &extractor, &ArchiveExtractor::progress, this,
        [&](const QString &, int processed) {
            if (processed == pauseAt) {
                pauseAt = -1;
                extractor.pause();
            }
        },
        Qt::DirectConnection);

    extractor.start();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.ends(), 1, Patience);
    QCOMPARE(recorder.events, QStringList({"started", "paused"}));
    QCOMPARE(filesUnder(m_out).size(), 5);

    extractor.cancel(); // ignored while paused
    extractor.resume();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.ends(), 2, Patience);
    QCOMPARE(recorder.events, QStringList({"started", "paused", "resumed", "finished"}));
    QCOMPARE(filesUnder(m_out).size(), 40);
    QCOMPARE(recorder.progress.at(5).processed, 6);
    QCOMPARE(recorder.progress.last().percent, 100);

    // A resumed run leaves the extractor as ready to run again as any other.
    extractor.start();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.ends(), 3, Patience);
    QCOMPARE(recorder.events.last(), QStringLiteral("finished"));
}

void TestArchiveExtractor::cancelAndRunAgain_data()
{
    pauseAndResume_data();
}

void TestArchiveExtractor::cancelAndRunAgain()
{
    QFETCH(bool, singleThreaded);
    ArchiveExtractor extractor(save(manyEntries(40)), m_out, nullptr, singleThreaded);
    extractor.setCalculateProgress(true);
    Recorder recorder(&extractor);
    std::atomic_int cancelAt = 3;
    connect(
        &extractor, &ArchiveExtractor::progress, this,
        [&](const QString &, int processed) {
            if (processed == cancelAt) {
                cancelAt = -1;
                extractor.cancel();
            }
        },
        Qt::DirectConnection);

    extractor.start();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.ends(), 1, Patience);
    QCOMPARE(recorder.events, QStringList({"started", "canceled"}));
    QCOMPARE(filesUnder(m_out).size(), 3);

    extractor.start();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.ends(), 2, Patience);
    QCOMPARE(recorder.events.last(), QStringLiteral("finished"));
    QCOMPARE(filesUnder(m_out).size(), 40);

    // A run after a finished one can still be canceled.
    cancelAt = 2;
    extractor.start();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.ends(), 3, Patience);
    QCOMPARE(recorder.events.last(), QStringLiteral("canceled"));
}

void TestArchiveExtractor::clearWhilePausedStartsOver()
{
    const QString path = save(manyEntries(10));
    ArchiveExtractor extractor(path, m_out);
    Recorder recorder(&extractor);
    bool pauseAsked = false;
    connect(&extractor, &ArchiveExtractor::progress, this, [&] {
        if (!pauseAsked) {
            pauseAsked = true;
            extractor.pause();
        }
    });
    extractor.start();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.ends(), 1, Patience);
    QCOMPARE(recorder.events.last(), QStringLiteral("paused"));

    extractor.clear();
    extractor.start();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.ends(), 2, Patience);
    QCOMPARE(recorder.events.last(), QStringLiteral("error 3"));

    const QString other = m_out + QStringLiteral("-again");
    QVERIFY(QDir().mkpath(other));
    extractor.setArchive(path, other);
    extractor.start();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.ends(), 3, Patience);
    QCOMPARE(recorder.events.last(), QStringLiteral("finished"));
    QCOMPARE(filesUnder(other).size(), 10);
}

void TestArchiveExtractor::describesEntries_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("fileType");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<qint64>("blocks");
    QTest::addColumn<QString>("modified");
    const QString when = QStringLiteral("2021-03-04T05:06:07Z");
    QTest::newRow("folder") << "maps/"
                            << "maps"
                            << "Directory" << 0ll << "None" << 0ll << when;
    QTest::newRow("file in a folder") << "maps/a.img"
                                      << "a.img"
                                      << "RegularFile" << 4ll << "KiB" << 9ll << when;
    QTest::newRow("bytes") << "small.txt"
                           << "small.txt"
                           << "RegularFile" << 500ll << "Bytes" << 0ll << "Unknown";
    QTest::newRow("link") << "link"
                          << "link"
                          << "SymbolicLink" << 0ll << "None" << 0ll << when;
    QTest::newRow("MiB") << "mid.img"
                         << "mid.img"
                         << "RegularFile" << 3ll << "MiB" << 6144ll << when;
    QTest::newRow("beyond 4 GiB") << "big.img"
                                  << "big.img"
                                  << "RegularFile" << 5ll << "GiB" << 10485760ll << when;
}

void TestArchiveExtractor::describesEntries()
{
    QFETCH(QString, path);
    const QString archivePath = save(ArchiveBuilder(ArchiveBuilder::Tar)
                                         .directory(QStringLiteral("maps/"))
                                         .file(QStringLiteral("maps/a.img"), randomBytes(5000))
                                         .file(QStringLiteral("small.txt"), randomBytes(500), 0)
                                         .symlink(QStringLiteral("link"), QStringLiteral("maps"))
                                         .sparseFile(QStringLiteral("mid.img"), 3ll << 20)
                                         .sparseFile(QStringLiteral("big.img"), 5ll << 30));
    ArchiveExtractor extractor;
    extractor.setArchive(archivePath);
    Recorder recorder(&extractor);
    extractor.getInfo();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.infos.size(), 1, Patience);

    const QJsonObject info = recorder.infos.first();
    QCOMPARE(info.size(), 6);
    const QJsonObject entry = info.value(path).toObject();
    QTEST(entry.value("FileName").toString(), "fileName");
    QTEST(entry.value("FileType").toString(), "fileType");
    QTEST(entry.value("Size").toInteger(), "size");
    QTEST(entry.value("SizeUnit").toString(), "unit");
    QTEST(entry.value("Blocks").toInteger(), "blocks");
    QTEST(entry.value("LastModifiedTime").toString(), "modified");
    QCOMPARE(entry.value("BlockSize").toInt(), 512);
}

void TestArchiveExtractor::descriptionIsCachedButFailuresAreNot()
{
    const QByteArray zip = ArchiveBuilder()
                               .file(QStringLiteral("a.txt"), "a")
                               .file(QStringLiteral("b.img"), randomBytes(100000))
                               .file(QStringLiteral("c.img"), randomBytes(100000))
                               .build();
    CountingDevice whole(zip);
    CountingDevice truncated(zip.left(zip.size() * 3 / 4));
    ArchiveExtractor extractor;
    Recorder recorder(&extractor);

    extractor.setArchive(&whole);
    extractor.getInfo();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.infos.size(), 1, Patience);
    const int reads = whole.reads;
    extractor.getInfo();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.infos.size(), 2, Patience);
    QCOMPARE(whole.reads, reads);
    QCOMPARE(recorder.infos.at(1), recorder.infos.at(0));
    QCOMPARE(recorder.infos.at(0).keys(), QStringList({"a.txt", "b.img", "c.img"}));

    extractor.setArchive(&truncated);
    extractor.getInfo();
    extractor.getInfo();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.errors.size(), 2, Patience);
    QCOMPARE(recorder.errors, QList<short>({8, 8}));
    QCOMPARE(recorder.infos.size(), 2);
}

void TestArchiveExtractor::progressEndsAtHundredWithRepeatedPaths()
{
    const QString path = save(ArchiveBuilder(ArchiveBuilder::Tar)
                                  .file(QStringLiteral("Info.xml"), "old")
                                  .file(QStringLiteral("map.img"), "map")
                                  .file(QStringLiteral("Info.xml"), "new"));
    ArchiveExtractor extractor(path, m_out);
    extractor.setCalculateProgress(true);
    Recorder recorder(&extractor);
    extractor.getInfo();
    extractor.start();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.ends(), 1, Patience);

    QCOMPARE(recorder.events.last(), QStringLiteral("finished"));
    QCOMPARE(recorder.progress.last().processed, 3);
    QCOMPARE(recorder.progress.last().total, 3);
    QCOMPARE(recorder.progress.last().percent, 100);
    QCOMPARE(readFile(m_out + QStringLiteral("/Info.xml")), QByteArray("new"));
}

void TestArchiveExtractor::writesIntoTheOutputFolder_data()
{
    QTest::addColumn<QString>("folderName");
    QTest::addColumn<QString>("givenAs");
    QTest::newRow("plain") << "maps"
                           << "absolute";
    QTest::newRow("relative") << "maps"
                              << "relative";
    QTest::newRow("through a symbolic link") << "maps"
                                             << "link";
    QTest::newRow("accented") << QStringLiteral("cartes-é") << "absolute";
    QTest::newRow("beyond Latin-1") << QStringLiteral("карты-地図") << "absolute";
}

void TestArchiveExtractor::writesIntoTheOutputFolder()
{
    QFETCH(QString, folderName);
    QFETCH(QString, givenAs);
    const QString folder = m_out + QLatin1Char('/') + folderName;
    QVERIFY(QDir().mkpath(folder));
    QString given = folder;
    if (givenAs == QLatin1String("relative")) {
        QVERIFY(QDir::setCurrent(m_out));
        given = folderName;
    } else if (givenAs == QLatin1String("link")) {
        given = m_out + QStringLiteral("/link");
        QVERIFY(QFile::link(folder, given));
    }
    const QString path = save(ArchiveBuilder().file(QStringLiteral("Halvorn/Info.xml"), "<Info/>"));
    ArchiveExtractor extractor(path, given);
    Recorder recorder(&extractor);
    extractor.start();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.ends(), 1, Patience);

    QCOMPARE(recorder.events.last(), QStringLiteral("finished"));
    QCOMPARE(readFile(folder + QStringLiteral("/Halvorn/Info.xml")), QByteArray("<Info/>"));
    // Nothing landed in a folder of another name.
    QCOMPARE(filesUnder(m_out), QStringList{folderName + QStringLiteral("/Halvorn/Info.xml")});
}

void TestArchiveExtractor::hardLinksPointIntoTheOutputFolder()
{
    const QString path =
        save(ArchiveBuilder(ArchiveBuilder::Tar)
                 .file(QStringLiteral("maps/a.img"), "tile")
                 .hardLink(QStringLiteral("maps/b.img"), QStringLiteral("maps/a.img")));
    ArchiveExtractor extractor(path, m_out);
    Recorder recorder(&extractor);
    extractor.start();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.ends(), 1, Patience);

    QCOMPARE(recorder.events.last(), QStringLiteral("finished"));
    QCOMPARE(readFile(m_out + QStringLiteral("/maps/b.img")), QByteArray("tile"));
}

void TestArchiveExtractor::refusesWritingOutsideTheOutputFolder_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<bool>("withOutputFolder");
    QTest::addColumn<int>("code");
    const QString victim = m_outside + QStringLiteral("/victim");
    using B = ArchiveBuilder;
    QTest::newRow("dot-dot") << B().file(QStringLiteral("../outside/evil"), "evil").build() << true
                             << 7;
    QTest::newRow("through an absolute link")
        << B(B::Tar).symlink("maps", m_outside).file("maps/evil", "evil").build() << true << 7;
    QTest::newRow("through a relative link")
        << B(B::Tar).symlink("maps", "../outside").file("maps/evil", "evil").build() << true << 7;
    QTest::newRow("hard link to an absolute path, with data")
        << B::tarHardLinkWithData("evil", victim.toUtf8(), "PWNED") << true << 7;
    QTest::newRow("hard link with dot-dot, with data")
        << B::tarHardLinkWithData("evil", "../outside/victim", "PWNED") << true << 7;
    QTest::newRow("file over a link to an outside file")
        << B(B::Tar).symlink("evil", victim).file("evil", "PWNED").build() << true << 0;
    QTest::newRow("absolute path, no output folder")
        << B(B::Tar).file(m_outside + QStringLiteral("/evil"), "evil").build() << false << 7;
}

void TestArchiveExtractor::refusesWritingOutsideTheOutputFolder()
{
    QFETCH(QByteArray, archive);
    QFETCH(bool, withOutputFolder);
    QFETCH(int, code);
    ArchiveExtractor extractor;
    extractor.setArchive(save(archive));
    if (withOutputFolder) {
        extractor.setOutputDirectory(m_out);
    } else {
        QVERIFY(QDir::setCurrent(m_out));
    }
    Recorder recorder(&extractor);
    extractor.start();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.ends(), 1, Patience);

    QCOMPARE(recorder.events.last(),
             code ? QStringLiteral("error %1").arg(code) : QStringLiteral("finished"));
    QCOMPARE(filesUnder(m_outside), QStringList{"victim"});
    QCOMPARE(readFile(m_outside + QStringLiteral("/victim")), QByteArray("victim\n"));
}

void TestArchiveExtractor::readsTheDeviceInBlocks_data()
{
    QTest::addColumn<int>("blockSize");
    QTest::addColumn<int>("largestRead");
    QTest::newRow("below 1024") << 100 << 10204;
    QTest::newRow("1024") << 1024 << 1024;
    QTest::newRow("64 KiB") << 65536 << 65536;
}

void TestArchiveExtractor::readsTheDeviceInBlocks()
{
    QFETCH(int, blockSize);
    CountingDevice device(
        ArchiveBuilder().file(QStringLiteral("a.img"), randomBytes(300000)).build());
    QVERIFY(device.seek(7));
    ArchiveExtractor extractor;
    extractor.setArchive(&device);
    extractor.setOutputDirectory(m_out);
    extractor.setBlockSize(blockSize);
    Recorder recorder(&extractor);
    extractor.start();
    QTRY_COMPARE_WITH_TIMEOUT(recorder.ends(), 1, Patience);

    QCOMPARE(recorder.events.last(), QStringLiteral("finished"));
    QTEST(int(device.largestRead), "largestRead");
    // The device's owner finds it where it left it.
    QCOMPARE(device.pos(), 7);
}

void TestArchiveExtractor::destroyedWhileItsThreadRuns()
{
    auto *extractor = new ArchiveExtractor(save(manyEntries(40)), m_out, nullptr, false);
    Recorder recorder(extractor);
    QSemaphore firstEntryWritten;
    connect(
        extractor, &ArchiveExtractor::progress, this,
        [&firstEntryWritten] {
            firstEntryWritten.release();
            // Holds the worker until the extractor's destruction asks it to stop.
            const QDeadlineTimer deadline(Patience);
            while (!QThread::currentThread()->isInterruptionRequested() && !deadline.hasExpired()) {
                QThread::msleep(1);
            }
        },
        Qt::DirectConnection);
    extractor->start();
    QVERIFY(firstEntryWritten.tryAcquire(1, Patience));
    delete extractor;

    QCOMPARE(filesUnder(m_out).size(), 1);
    QCoreApplication::processEvents();
    QCOMPARE(recorder.events, QStringList{"started"});
}

void TestArchiveExtractor::deletedFromItsOwnSignal_data()
{
    QTest::addColumn<bool>("duringTheRun");
    QTest::addColumn<int>("files");
    QTest::newRow("when finished") << false << 10;
    QTest::newRow("during the run") << true << 1;
}

void TestArchiveExtractor::deletedFromItsOwnSignal()
{
    QFETCH(bool, duringTheRun);
    QPointer<ArchiveExtractor> extractor = new ArchiveExtractor(save(manyEntries(10)), m_out);
    const auto destroy = [&extractor] {
        delete extractor.data();
    };
    if (duringTheRun) {
        connect(extractor, &ArchiveExtractor::progress, this, destroy);
    } else {
        connect(extractor, &ArchiveExtractor::finished, this, destroy);
    }
    extractor->start();
    QTRY_VERIFY_WITH_TIMEOUT(extractor.isNull(), Patience);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QTEST(int(filesUnder(m_out).size()), "files");
}

HALVORNSYNC_TEST_MAIN(TestArchiveExtractor)
#include "tst_archiveextractor.moc"
