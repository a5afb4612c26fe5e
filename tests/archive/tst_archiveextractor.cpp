#include "TestMain.h"
#include "archive/ArchiveExtractor.h"

#include <QBuffer>
#include <QDeadlineTimer>
#include <QDirIterator>
#include <QPointer>
#include <QRandomGenerator>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QThread>

#include <archive.h>
#include <archive_entry.h>
#include <atomic>
#include <stdexcept>

namespace {

// Extraction is quick, but the machine running the tests may be busy.
constexpr int Patience = 30000;
constexpr qint64 EntryTime = 1614834367; // 2021-03-04T05:06:07Z

enum Format
{
    Zip,
    TarGz,
    Tar
};

// How the archive and the output folder are given.
enum Setup
{
    AsFile,
    MissingFile,
    FolderAsArchive,
    OutputIsAFile,
    SequentialDevice,
    NoOutputFolder, // the current folder is the output folder
};

// Not a libarchive file type: a regular file that is a hard link to `link`.
constexpr unsigned int HardLink = 1;

// An entry of an archive that build() writes; a size beyond the data makes a sparse file.
struct Entry
{
    QString path;
    QByteArray data = {};
    unsigned int type = AE_IFREG;
    QString link = {};
    qint64 size = -1;
    qint64 time = EntryTime;
    int perm = -1;
};

la_ssize_t appendTo(archive *, void *bytes, const void *buffer, size_t size)
{
    static_cast<QByteArray *>(bytes)->append(static_cast<const char *>(buffer), qsizetype(size));
    return la_ssize_t(size);
}

void check(int status, archive *writer)
{
    if (status < ARCHIVE_WARN) {
        throw std::runtime_error(archive_error_string(writer));
    }
}

// Builds an archive in memory with libarchive's writer; a zip with a passphrase is AES-256.
QByteArray build(Format format, const QList<Entry> &entries, const char *passphrase = nullptr)
{
    QByteArray bytes;
    archive *writer = archive_write_new();
    if (format == Zip) {
        check(archive_write_set_format_zip(writer), writer);
        if (passphrase) {
            check(archive_write_set_options(writer, "zip:encryption=aes256"), writer);
            check(archive_write_set_passphrase(writer, passphrase), writer);
        }
    } else {
        check(archive_write_set_format_pax_restricted(writer), writer);
        if (format == TarGz) {
            check(archive_write_add_filter_gzip(writer), writer);
        }
    }
    archive_write_set_bytes_in_last_block(writer, 1);
    check(archive_write_open(writer, &bytes, nullptr, appendTo, nullptr), writer);
    for (const Entry &e : entries) {
        const qint64 size = e.size < 0 ? e.data.size() : e.size;
        archive_entry *entry = archive_entry_new();
        archive_entry_set_pathname_utf8(entry, e.path.toUtf8().constData());
        archive_entry_set_filetype(entry, e.type == HardLink ? AE_IFREG : e.type);
        archive_entry_set_perm(entry, e.perm >= 0 ? e.perm : e.type == AE_IFDIR ? 0755 : 0644);
        archive_entry_set_mtime(entry, time_t(e.time), 0);
        archive_entry_set_size(entry, size);
        if (e.type == AE_IFLNK) {
            archive_entry_set_symlink_utf8(entry, e.link.toUtf8().constData());
        } else if (e.type == HardLink) {
            archive_entry_set_hardlink_utf8(entry, e.link.toUtf8().constData());
        } else if (size > e.data.size()) {
            archive_entry_sparse_add_entry(entry, 0, e.data.size());
        }
        check(archive_write_header(writer, entry), writer);
        archive_write_data(writer, e.data.constData(), size_t(e.data.size()));
        archive_entry_free(entry);
    }
    check(archive_write_close(writer), writer);
    archive_write_free(writer);
    return bytes;
}

// A tar whose first header has `bytes` at `offset`, its checksum made right again.
QByteArray withHeaderField(QByteArray tar, int offset, const QByteArray &bytes)
{
    tar.replace(offset, bytes.size(), bytes);
    tar.replace(148, 8, "        "); // the checksum counts its own field as blanks
    int sum = 0;
    for (int i = 0; i < 512; ++i) {
        sum += uchar(tar.at(i));
    }
    return tar.replace(148, 7, QByteArray::number(sum, 8).rightJustified(6, '0') + '\0');
}

// A hard link that carries data, made from a file entry: libarchive's writers never make one, but
// its reader takes it, and its disk writer writes the data into the link's target.
QByteArray hardLinkWithData(const QString &target)
{
    return withHeaderField(build(Tar, {{"evil", "PWNED"}}), 156, '1' + target.toUtf8());
}

struct Progress
{
    QString path;
    int processed, total, percent;
};

// Records what an extractor reports, in order, on the test's thread.
class Recorder : public QObject
{
public:
    explicit Recorder(ArchiveExtractor *x)
    {
        using X = ArchiveExtractor;
        connect(x, &X::started, this, [this] { events << "started"; });
        connect(x, &X::paused, this, [this] { events << "paused"; });
        connect(x, &X::resumed, this, [this] { events << "resumed"; });
        connect(x, &X::canceled, this, [this] { events << "canceled"; });
        connect(x, &X::finished, this, [this] { events << "finished"; });
        connect(x, &X::error, this,
                [this](short code) { events << QString("error %1").arg(code); });
        connect(x, &X::extractionRequirePassword, this,
                [this](int tries) { events << QString("password %1").arg(tries); });
        connect(x, &X::progress, this, [this](const QString &path, int done, int total, int pc) {
            progress.append({path, done, total, pc});
        });
        connect(x, &X::info, this, [this](const QJsonObject &info) { infos << info; });
    }

    // Waits until `count` runs have come to rest: finished, paused, canceled or failed.
    bool waitForEnds(int count) const
    {
        return QTest::qWaitFor([&] { return ends() >= count; }, Patience);
    }
    // Starts a run and waits for it to come to rest.
    bool run(ArchiveExtractor &extractor)
    {
        const int before = ends();
        extractor.start();
        return waitForEnds(before + 1);
    }
    QString last() const { return events.value(events.size() - 1); }

    QStringList events;
    QList<Progress> progress;
    QList<QJsonObject> infos;

private:
    int ends() const
    {
        static const QRegularExpression end("^(finished|paused|canceled|error)");
        return int(events.filter(end).size());
    }
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

// Every file below `folder`, relative to it, sorted.
QStringList filesUnder(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files << QDir(folder).relativeFilePath(it.next());
    }
    files.sort();
    return files;
}

QByteArray manyEntries(int count)
{
    QList<Entry> entries;
    for (int i = 0; i < count; ++i) {
        entries.append({QString("tiles/%1.img").arg(i, 3, 10, QChar('0')), randomBytes(20000)});
    }
    return build(Zip, entries);
}

// AES-256 checks a passphrase against 16 bits only: one archive in 65536 would take "wrong" for
// the right passphrase and fail later, with a data error.
bool rejectsWrongPassphrase(const QByteArray &zip)
{
    archive *reader = archive_read_new();
    archive_read_support_format_zip(reader);
    archive_read_add_passphrase(reader, "wrong");
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

    void extractsIntoTheOutputFolder_data();
    void extractsIntoTheOutputFolder();
    void passwords();
    void progressAndFilters_data();
    void progressAndFilters();
    void pauseResumeCancel_data();
    void pauseResumeCancel();
    void describesEntriesOnce();
    void failuresAndEscapes_data();
    void failuresAndEscapes();
    void destroyedWhileItsThreadRuns();
    void deletedFromItsOwnSignal_data();
    void deletedFromItsOwnSignal();

private:
    QString save(const QByteArray &archive);

    QTemporaryDir m_root;
    QString m_outside;
    QString m_out;
    QString m_startDirectory = QDir::currentPath();
    int m_case = 0;
};

void TestArchiveExtractor::initTestCase()
{
    QVERIFY(m_root.isValid());
    m_outside = m_root.filePath("outside");
}

void TestArchiveExtractor::init()
{
    m_out = m_root.filePath(QString("out-%1").arg(++m_case));
    QVERIFY(QDir().mkpath(m_out));
    QDir(m_outside).removeRecursively();
    QVERIFY(QDir().mkpath(m_outside));
    QFile victim(m_outside + "/victim");
    QVERIFY(victim.open(QIODevice::WriteOnly) && victim.write("victim\n") == 7);
}

void TestArchiveExtractor::cleanup()
{
    QDir::setCurrent(m_startDirectory);
}

QString TestArchiveExtractor::save(const QByteArray &archive)
{
    const QString path = m_root.filePath(QString("archive-%1").arg(m_case));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(archive) != archive.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}

void TestArchiveExtractor::extractsIntoTheOutputFolder_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("given"); // how the output folder is given
    QTest::addColumn<bool>("singleThreaded");
    QTest::addColumn<QString>("folderName");
    QTest::newRow("zip, own thread") << int(Zip) << "absolute" << false << "maps";
    QTest::newRow("zip, caller's thread") << int(Zip) << "relative" << true << "maps";
    QTest::newRow("tar.gz, own thread") << int(TarGz) << "through a link" << false << "maps";
    QTest::newRow("tar.gz, caller's thread, beyond Latin-1")
        << int(TarGz) << "absolute" << true << "cartes-é-карты-地図";
}

void TestArchiveExtractor::extractsIntoTheOutputFolder()
{
    QFETCH(int, format);
    QFETCH(bool, singleThreaded);
    QFETCH(QString, folderName);
    QFETCH(QString, given);
    const QString folder = m_out + '/' + folderName;
    QVERIFY(QDir().mkpath(folder));
    QString output = folder;
    if (given == "relative") {
        QVERIFY(QDir::setCurrent(m_out));
        output = folderName;
    } else if (given == "through a link") {
        output = m_out + "/link";
        QVERIFY(QFile::link(folder, output));
    }
    const QByteArray tile = randomBytes(300000) + QByteArray(300000, 'm');
    const QByteArray archive = build(Format(format), {{"HalvornMap/", {}, AE_IFDIR},
                                                      {"HalvornMap/Info.xml", "<Info/>"},
                                                      {"HalvornMap/tiles/0001.img", tile},
                                                      {"HalvornMap/empty/", {}, AE_IFDIR}});
    ArchiveExtractor extractor(save(archive), output, nullptr, singleThreaded);
    Recorder recorder(&extractor);
    QVERIFY(recorder.run(extractor));

    QCOMPARE(recorder.events, QStringList({"started", "finished"}));
    // Nothing landed in a folder of another name.
    const QString map = folderName + "/HalvornMap/";
    QCOMPARE(filesUnder(m_out), QStringList({map + "Info.xml", map + "tiles/0001.img"}));
    QCOMPARE(readFile(folder + "/HalvornMap/tiles/0001.img"), tile);
    QCOMPARE(readFile(folder + "/HalvornMap/Info.xml"), "<Info/>");
    QVERIFY(QFileInfo(folder + "/HalvornMap/empty").isDir());
    const QFileInfo info(folder + "/HalvornMap/Info.xml");
    QCOMPARE(info.lastModified().toSecsSinceEpoch(), EntryTime);
}

void TestArchiveExtractor::passwords()
{
    const QByteArray secret = randomBytes(50000);
    QByteArray zip;
    do {
        zip = build(Zip, {{"secret.img", secret}}, "sesame");
    } while (!rejectsWrongPassphrase(zip));

    ArchiveExtractor extractor(save(zip), m_out, nullptr, false);
    Recorder recorder(&extractor);
    QVERIFY(recorder.run(extractor));
    extractor.setPassword("wrong");
    QVERIFY(recorder.run(extractor));
    extractor.setPassword("sesame");
    QVERIFY(recorder.run(extractor));

    QCOMPARE(recorder.events, QStringList({"started", "password 0", "error 11", //
                                           "started", "password 1", "error 12", //
                                           "started", "finished"}));
    QCOMPARE(readFile(m_out + "/secret.img"), secret);
}

void TestArchiveExtractor::progressAndFilters_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("filters");
    QTest::addColumn<bool>("calculate");
    QTest::addColumn<bool>("describeFirst");
    QTest::addColumn<QStringList>("written");
    const QStringList entries = {"docs/Readme.txt", "docs/readme.txt", "maps/a.img"};
    // The description counts entries, not paths, or progress would end at 150 percent.
    QTest::newRow("counted by getInfo, a path repeated")
        << QStringList({"Info.xml", "map.img", "Info.xml"}) << QStringList() << true << true
        << QStringList({"Info.xml", "map.img"});
    // Filters name entries exactly, letter case included.
    QTest::newRow("one path, not counted") << entries << QStringList{"docs/readme.txt"} << false
                                           << false << QStringList{"docs/readme.txt"};
    QTest::newRow("a folder selects nothing")
        << entries << QStringList{"docs"} << true << false << QStringList();
    QTest::newRow("several") << entries << QStringList{"maps/a.img", "docs/Readme.txt"} << true
                             << false << QStringList{"docs/Readme.txt", "maps/a.img"};
}

void TestArchiveExtractor::progressAndFilters()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, filters);
    QFETCH(bool, calculate);
    QFETCH(bool, describeFirst);
    QFETCH(QStringList, written);
    QList<Entry> archive;
    for (int i = 0; i < entries.size(); ++i) {
        archive.append({entries.at(i), QByteArray::number(i)});
    }
    ArchiveExtractor extractor(save(build(Tar, archive)), m_out, nullptr, false);
    extractor.setCalculateProgress(calculate);
    if (!filters.isEmpty()) {
        extractor.addFilter(filters.first());
        extractor.addFilter(filters.mid(1));
    }
    Recorder recorder(&extractor);
    if (describeFirst) {
        extractor.getInfo();
    }
    QVERIFY(recorder.run(extractor));

    QCOMPARE(recorder.last(), "finished");
    QCOMPARE(filesUnder(m_out), written);
    QCOMPARE(recorder.progress.size(), entries.size());
    // Skipped entries are reported too, under their own path.
    const QString folder = QFileInfo(m_out).canonicalFilePath() + '/';
    const int n = int(entries.size());
    for (int i = 0; i < n; ++i) {
        const Progress &p = recorder.progress.at(i);
        const QString &entry = entries.at(i);
        QCOMPARE(p.path, written.contains(entry) ? folder + entry : entry);
        QCOMPARE(QList<int>({p.processed, p.total, p.percent}),
                 calculate ? QList<int>({i + 1, n, (i + 1) * 100 / n}) : QList<int>({0, 0, 0}));
    }
}

void TestArchiveExtractor::pauseResumeCancel_data()
{
    QTest::addColumn<bool>("singleThreaded");
    QTest::newRow("own thread") << false;
    QTest::newRow("caller's thread") << true;
}

void TestArchiveExtractor::pauseResumeCancel()
{
    QFETCH(bool, singleThreaded);
    ArchiveExtractor extractor(save(manyEntries(40)), m_out, nullptr, singleThreaded);
    extractor.setCalculateProgress(true);
    Recorder recorder(&extractor);
    std::atomic_int pauseAt = 5;
    std::atomic_int cancelAt = -1;
    // Direct: asks from the worker's own thread, so the request lands right after that entry.
    const auto ask = [&](const QString &, int processed) {
        if (processed == pauseAt) {
            pauseAt = -1;
            extractor.pause();
        } else if (processed == cancelAt) {
            cancelAt = -1;
            extractor.cancel();
        }
    };
    connect(&extractor, &ArchiveExtractor::progress, this, ask, Qt::DirectConnection);

    QVERIFY(recorder.run(extractor));
    QCOMPARE(recorder.events, QStringList({"started", "paused"}));
    QCOMPARE(filesUnder(m_out).size(), 5);

    extractor.cancel(); // ignored while paused
    extractor.resume();
    QVERIFY(recorder.waitForEnds(2));
    QCOMPARE(recorder.events.mid(2), QStringList({"resumed", "finished"}));
    QCOMPARE(filesUnder(m_out).size(), 40);
    QCOMPARE(recorder.progress.at(5).processed, 6);
    QCOMPARE(recorder.progress.last().percent, 100);

    // After a resumed, finished run the archive can be run again, and that run canceled.
    QVERIFY(QDir(m_out + "/tiles").removeRecursively());
    cancelAt = 3;
    QVERIFY(recorder.run(extractor));
    QCOMPARE(recorder.events.mid(4), QStringList({"started", "canceled"}));
    QCOMPARE(filesUnder(m_out).size(), 3);
}

// The description of a whole archive is kept and handed out again; that of a damaged one is not.
void TestArchiveExtractor::describesEntriesOnce()
{
    const QByteArray tar = build(Tar, {{"maps/", {}, AE_IFDIR},
                                       {"maps/a.img", randomBytes(5000)},
                                       {"small.txt", randomBytes(500), AE_IFREG, {}, -1, 0},
                                       {"big.img", QByteArray(512, 'x'), AE_IFREG, {}, 5ll << 30}});
    QBuffer whole;
    whole.setData(tar);
    QVERIFY(whole.open(QIODevice::ReadOnly) && whole.seek(7));
    QBuffer truncated;
    truncated.setData(tar.left(tar.size() * 3 / 4));
    QVERIFY(truncated.open(QIODevice::ReadOnly));
    ArchiveExtractor extractor;
    Recorder recorder(&extractor);

    extractor.setArchive(&whole);
    extractor.getInfo();
    QVERIFY(QTest::qWaitFor([&] { return recorder.infos.size() == 1; }, Patience));
    const QJsonObject info = recorder.infos.at(0);
    QCOMPARE(info.keys(), QStringList({"big.img", "maps/", "maps/a.img", "small.txt"}));
    const auto describe = [&info](const QString &path) {
        const QJsonObject entry = info.value(path).toObject();
        return QStringList{entry.value("FileName").toString(), entry.value("FileType").toString(),
                           QString::number(entry.value("Size").toInteger()),
                           entry.value("SizeUnit").toString(),
                           entry.value("LastModifiedTime").toString()};
    };
    const QString when = "2021-03-04T05:06:07Z";
    QCOMPARE(describe("maps/"), QStringList({"maps", "Directory", "0", "None", when}));
    QCOMPARE(describe("maps/a.img"), QStringList({"a.img", "RegularFile", "4", "KiB", when}));
    QCOMPARE(describe("small.txt"),
             QStringList({"small.txt", "RegularFile", "500", "Bytes", "Unknown"}));
    QCOMPARE(describe("big.img"), QStringList({"big.img", "RegularFile", "5", "GiB", when}));
    QCOMPARE(info.value("big.img").toObject().value("Blocks").toInteger(), (5ll << 30) / 512);
    QCOMPARE(whole.pos(), 7);  // where its owner left it
    whole.buffer().fill('\0'); // reading it again would fail
    extractor.getInfo();
    QVERIFY(QTest::qWaitFor([&] { return recorder.infos.size() == 2; }, Patience));
    QCOMPARE(recorder.infos.at(1), info);

    extractor.setArchive(&truncated);
    extractor.getInfo();
    extractor.getInfo();
    QVERIFY(recorder.waitForEnds(2));
    QCOMPARE(recorder.events, QStringList({"error 8", "error 8"}));
    QCOMPARE(recorder.infos.size(), 2);
}

// Whatever the archive holds, nothing outside the output folder changes, nor the folder itself.
void TestArchiveExtractor::failuresAndEscapes_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<int>("setup");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QStringList>("written");
    const auto row = [](const char *name, const QByteArray &archive, Setup setup,
                        const char *outcome, const QStringList &written) {
        QTest::newRow(name) << archive << int(setup) << QString(outcome) << written;
    };
    const QByteArray zip = build(
        Zip,
        {{"first.txt", "first"}, {"second.txt", "second"}, {"third.img", randomBytes(200000)}});
    row("missing archive", zip, MissingFile, "error 4", {});
    row("folder as archive", zip, FolderAsArchive, "error 16", {});
    row("truncated, earlier entries stay", zip.left(zip.size() / 2), AsFile, "error 8",
        {"first.txt", "second.txt", "third.img"});
    row("output folder is a file", zip, OutputIsAFile, "error 15", {});
    row("sequential device", zip, SequentialDevice, "error 5", {});

    const QString victim = m_outside + "/victim";
    row("dot-dot", build(Zip, {{"../outside/evil", "evil"}}), AsFile, "error 7", {});
    row("through a link to an outside folder",
        build(Tar, {{"maps", {}, AE_IFLNK, m_outside}, {"maps/evil", "evil"}}), AsFile, "error 7",
        {});
    row("hard link to an absolute path, with data", hardLinkWithData(victim), AsFile, "error 7",
        {});
    row("hard link within the archive",
        build(Tar, {{"maps/a.img", "tile"}, {"maps/b.img", {}, HardLink, "maps/a.img"}}), AsFile,
        "finished", {"maps/a.img", "maps/b.img"});
    row("file over a link to an outside file",
        build(Tar, {{"evil", {}, AE_IFLNK, victim}, {"evil", "PWNED"}}), AsFile, "finished",
        {"evil"});
    row("absolute path, no output folder", build(Tar, {{m_outside + "/evil", "evil"}}),
        NoOutputFolder, "error 7", {});
    // Entries that name the output folder itself are passed over.
    row("./ and /./ of mode 000",
        build(Zip, {{"./", {}, AE_IFDIR, {}, -1, EntryTime, 0},
                    {"/./", {}, AE_IFDIR, {}, -1, EntryTime, 0},
                    {"a.txt", "a"}}),
        AsFile, "finished", {"a.txt"});
    row("empty name",
        withHeaderField(build(Tar, {{"x", "PWNED"}, {"a.txt", "a"}}), 0, QByteArray(100, 0)),
        AsFile, "finished", {"a.txt"});
    row("./ and .\\ without an output folder",
        build(Tar, {{"./", {}, AE_IFDIR, {}, -1, EntryTime, 0},
                    {".\\", {}, AE_IFDIR, {}, -1, EntryTime, 0},
                    {"a.txt", "a"}}),
        NoOutputFolder, "finished", {"a.txt"});
}

void TestArchiveExtractor::failuresAndEscapes()
{
    QFETCH(QByteArray, archive);
    QFETCH(int, setup);
    QFETCH(QStringList, written);
    SequentialBuffer buffer;
    buffer.setData(archive);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    const QString path = setup == MissingFile       ? save(archive) + ".missing"
                         : setup == FolderAsArchive ? m_outside
                                                    : save(archive);
    ArchiveExtractor extractor;
    if (setup == SequentialDevice) {
        extractor.setArchive(&buffer);
    } else {
        extractor.setArchive(path);
    }
    if (setup == NoOutputFolder) {
        QVERIFY(QDir::setCurrent(m_out));
    } else {
        extractor.setOutputDirectory(setup == OutputIsAFile ? path : m_out);
    }
    Recorder recorder(&extractor);
    const QFile::Permissions permissions = QFileInfo(m_out).permissions();
    QVERIFY(recorder.run(extractor));

    QTEST(recorder.last(), "outcome");
    QCOMPARE(filesUnder(m_out), written);
    if (written.contains("second.txt")) {
        QCOMPARE(readFile(m_out + "/second.txt"), "second");
    }
    const QFileInfo out(m_out);
    QVERIFY(out.isDir());
    QCOMPARE(out.permissions(), permissions);
    QVERIFY(out.lastModified().toSecsSinceEpoch() != EntryTime);
    QCOMPARE(filesUnder(m_outside), QStringList{"victim"});
    QCOMPARE(readFile(m_outside + "/victim"), "victim\n");
}

void TestArchiveExtractor::destroyedWhileItsThreadRuns()
{
    auto *extractor = new ArchiveExtractor(save(manyEntries(40)), m_out, nullptr, false);
    Recorder recorder(extractor);
    QSemaphore firstEntryWritten;
    const auto holdWorker = [&firstEntryWritten] {
        firstEntryWritten.release();
        // Until the extractor's destruction asks the worker to stop.
        const QDeadlineTimer deadline(Patience);
        while (!QThread::currentThread()->isInterruptionRequested() && !deadline.hasExpired()) {
            QThread::msleep(1);
        }
    };
    connect(extractor, &ArchiveExtractor::progress, this, holdWorker, Qt::DirectConnection);
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
    QVERIFY(QTest::qWaitFor([&] { return extractor.isNull(); }, Patience));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QTEST(int(filesUnder(m_out).size()), "files");
}

HALVORNSYNC_TEST_MAIN(TestArchiveExtractor)
#include "tst_archiveextractor.moc"
