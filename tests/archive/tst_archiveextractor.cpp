#include "TestFiles.h"
#include "TestMain.h"
#include "archive/ArchiveExtractor.h"

#include <QDeadlineTimer>
#include <QDirIterator>
#include <QPointer>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QThread>

#include <archive.h>
#include <archive_entry.h>
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
    OutputIsAFile,
    NoOutputFolder, // the current folder is the output folder
    AsMap,          // as a file, files and folders only
};

// Not a libarchive file type: a regular file that is a hard link to `link`.
constexpr unsigned int HardLink = 1;

// An entry of an archive that build() writes.
struct Entry
{
    QString path;
    QByteArray data = {};
    unsigned int type = AE_IFREG;
    QString link = {};
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

// Builds an archive in memory with libarchive's writer.
QByteArray build(Format format, const QList<Entry> &entries)
{
    QByteArray bytes;
    archive *writer = archive_write_new();
    if (format == Zip) {
        check(archive_write_set_format_zip(writer), writer);
    } else {
        check(archive_write_set_format_pax_restricted(writer), writer);
        if (format == TarGz) {
            check(archive_write_add_filter_gzip(writer), writer);
        }
    }
    archive_write_set_bytes_in_last_block(writer, 1);
    check(archive_write_open(writer, &bytes, nullptr, appendTo, nullptr), writer);
    for (const Entry &e : entries) {
        archive_entry *entry = archive_entry_new();
        archive_entry_set_pathname_utf8(entry, e.path.toUtf8().constData());
        archive_entry_set_filetype(entry, e.type == HardLink ? AE_IFREG : e.type);
        archive_entry_set_perm(entry, e.perm >= 0 ? e.perm : e.type == AE_IFDIR ? 0755 : 0644);
        archive_entry_set_mtime(entry, time_t(EntryTime), 0);
        archive_entry_set_size(entry, e.data.size());
        if (e.type == AE_IFLNK) {
            archive_entry_set_symlink_utf8(entry, e.link.toUtf8().constData());
        } else if (e.type == HardLink) {
            archive_entry_set_hardlink_utf8(entry, e.link.toUtf8().constData());
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

// Records what an extractor reports, in order, on the test's thread.
class Recorder : public QObject
{
public:
    explicit Recorder(ArchiveExtractor *x)
    {
        using X = ArchiveExtractor;
        connect(x, &X::started, this, [this] { events << "started"; });
        connect(x, &X::finished, this, [this] { events << "finished"; });
        connect(x, &X::error, this,
                [this](short code) { events << QString("error %1").arg(code); });
    }

    // Starts the run and waits for it to come to rest: finished or failed.
    bool run(ArchiveExtractor &extractor)
    {
        extractor.start();
        return QTest::qWaitFor(
            [this] { return last() == "finished" || last().startsWith("error"); }, Patience);
    }
    QString last() const { return events.value(events.size() - 1); }

    QStringList events;
};

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
        entries.append(
            {QString("tiles/%1.img").arg(i, 3, 10, QChar('0')), TestFiles::randomBytes(20000)});
    }
    return build(Zip, entries);
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
    QVERIFY(TestFiles::write(m_outside + "/victim", "victim\n"));
}

void TestArchiveExtractor::cleanup()
{
    QDir::setCurrent(m_startDirectory);
}

QString TestArchiveExtractor::save(const QByteArray &archive)
{
    const QString path = m_root.filePath(QString("archive-%1").arg(m_case));
    if (!TestFiles::write(path, archive)) {
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
    const QByteArray tile = TestFiles::randomBytes(300000) + QByteArray(300000, 'm');
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
    QCOMPARE(TestFiles::read(folder + "/HalvornMap/tiles/0001.img"), tile);
    QCOMPARE(TestFiles::read(folder + "/HalvornMap/Info.xml"), "<Info/>");
    QVERIFY(QFileInfo(folder + "/HalvornMap/empty").isDir());
    const QFileInfo info(folder + "/HalvornMap/Info.xml");
    QCOMPARE(info.lastModified().toSecsSinceEpoch(), EntryTime);
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
    const QByteArray zip = build(Zip, {{"first.txt", "first"},
                                       {"second.txt", "second"},
                                       {"third.img", TestFiles::randomBytes(200000)}});
    row("missing archive", zip, MissingFile, "error 4", {});
    row("truncated, earlier entries stay", zip.left(zip.size() / 2), AsFile, "error 8",
        {"first.txt", "second.txt", "third.img"});
    row("output folder is a file", zip, OutputIsAFile, "error 15", {});

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
        build(Zip, {{"./", {}, AE_IFDIR, {}, 0}, {"/./", {}, AE_IFDIR, {}, 0}, {"a.txt", "a"}}),
        AsFile, "finished", {"a.txt"});
    row("empty name",
        withHeaderField(build(Tar, {{"x", "PWNED"}, {"a.txt", "a"}}), 0, QByteArray(100, 0)),
        AsFile, "finished", {"a.txt"});
    row("./ and .\\ without an output folder",
        build(Tar, {{"./", {}, AE_IFDIR, {}, 0}, {".\\", {}, AE_IFDIR, {}, 0}, {"a.txt", "a"}}),
        NoOutputFolder, "finished", {"a.txt"});
    // A map's links, devices and pipes are passed over; a pipe read as Info.xml stops the reader.
    row("map: Info.xml a link to an outside file",
        build(Zip, {{"m/Info.xml", {}, AE_IFLNK, victim}, {"m/a.img", "a"}}), AsMap, "finished",
        {"m/a.img"});
    row("map: hard link within the archive",
        build(Tar, {{"maps/a.img", "tile"}, {"maps/b.img", {}, HardLink, "maps/a.img"}}), AsMap,
        "finished", {"maps/a.img"});
    row("map: Info.xml a pipe", build(Tar, {{"m/Info.xml", {}, AE_IFIFO}, {"a.txt", "a"}}), AsMap,
        "finished", {"a.txt"});
}

void TestArchiveExtractor::failuresAndEscapes()
{
    QFETCH(QByteArray, archive);
    QFETCH(int, setup);
    QFETCH(QStringList, written);
    const QString path = setup == MissingFile ? save(archive) + ".missing" : save(archive);
    ArchiveExtractor extractor;
    extractor.setArchive(path);
    extractor.setFilesAndFoldersOnly(setup == AsMap);
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
        QCOMPARE(TestFiles::read(m_out + "/second.txt"), "second");
    }
    const QFileInfo out(m_out);
    QVERIFY(out.isDir());
    QCOMPARE(out.permissions(), permissions);
    QVERIFY(out.lastModified().toSecsSinceEpoch() != EntryTime);
    QCOMPARE(filesUnder(m_outside), QStringList{"victim"});
    QCOMPARE(TestFiles::read(m_outside + "/victim"), "victim\n");
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
