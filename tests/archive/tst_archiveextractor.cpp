#include "ArchiveBuilder.h"
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
#include <cstring>

namespace {

// Extraction is quick, but the machine running the tests may be busy.
constexpr int Patience = 30000;

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
        static const QRegularExpression end("^(finished|paused|canceled|error)");
        return QTest::qWaitFor([&] { return events.filter(end).size() >= count; }, Patience);
    }
    // Starts a run and waits for it to come to rest.
    bool run(ArchiveExtractor &extractor)
    {
        static const QRegularExpression end("^(finished|paused|canceled|error)");
        const int ends = int(events.filter(end).size());
        extractor.start();
        return waitForEnds(ends + 1);
    }
    QString last() const { return events.value(events.size() - 1); }

    QStringList events;
    QList<Progress> progress;
    QList<QJsonObject> infos;
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
    ArchiveBuilder builder;
    for (int i = 0; i < count; ++i) {
        builder.file(QString("tiles/%1.img").arg(i, 3, 10, QChar('0')), randomBytes(20000));
    }
    return builder.build();
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

    void extractsArchive_data();
    void extractsArchive();
    void reportsFailures_data();
    void reportsFailures();
    void passwords();
    void progress_data();
    void progress();
    void filters_data();
    void filters();
    void pauseResumeCancel_data();
    void pauseResumeCancel();
    void describesEntries_data();
    void describesEntries();
    void descriptionIsCachedButFailuresAreNot();
    void writesIntoTheOutputFolder_data();
    void writesIntoTheOutputFolder();
    void linksAndPathsStayInTheOutputFolder_data();
    void linksAndPathsStayInTheOutputFolder();
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
                                  .directory("HalvornMap/")
                                  .file("HalvornMap/Info.xml", "<Info/>")
                                  .file("HalvornMap/tiles/0001.img", tile)
                                  .directory("HalvornMap/empty/")
                                  .build());
    ArchiveExtractor extractor(path, m_out, nullptr, singleThreaded);
    Recorder recorder(&extractor);
    QVERIFY(recorder.run(extractor));

    QCOMPARE(recorder.events, QStringList({"started", "finished"}));
    QCOMPARE(readFile(m_out + "/HalvornMap/tiles/0001.img"), tile);
    QCOMPARE(readFile(m_out + "/HalvornMap/Info.xml"), "<Info/>");
    QVERIFY(QFileInfo(m_out + "/HalvornMap/empty").isDir());
    const QFileInfo info(m_out + "/HalvornMap/Info.xml");
    QCOMPARE(info.lastModified().toSecsSinceEpoch(), ArchiveBuilder::EntryTime);
}

namespace {
enum Setup
{
    NothingSet,
    MissingFile,
    FolderAsArchive,
    NoReadPermission,
    NotAnArchive,
    Truncated,
    OutputIsAFile,
    DeviceNotOpen,
    DeviceWriteOnly,
    DeviceSequential,
};
} // namespace

void TestArchiveExtractor::reportsFailures_data()
{
    QTest::addColumn<int>("setup");
    QTest::addColumn<short>("code");
    QTest::addColumn<QStringList>("written");
    QTest::newRow("no archive") << int(NothingSet) << short(3) << QStringList();
    QTest::newRow("missing archive") << int(MissingFile) << short(4) << QStringList();
    QTest::newRow("folder as archive") << int(FolderAsArchive) << short(16) << QStringList();
    QTest::newRow("no read permission") << int(NoReadPermission) << short(14) << QStringList();
    QTest::newRow("not an archive") << int(NotAnArchive) << short(5) << QStringList();
    QTest::newRow("truncated, earlier entries stay")
        << int(Truncated) << short(8) << QStringList({"first.txt", "second.txt", "third.img"});
    QTest::newRow("output folder is a file") << int(OutputIsAFile) << short(15) << QStringList();
    QTest::newRow("device not open") << int(DeviceNotOpen) << short(10) << QStringList();
    QTest::newRow("device write-only") << int(DeviceWriteOnly) << short(9) << QStringList();
    QTest::newRow("sequential device") << int(DeviceSequential) << short(5) << QStringList();
}

void TestArchiveExtractor::reportsFailures()
{
    QFETCH(int, setup);
    QFETCH(short, code);
    const QByteArray zip = ArchiveBuilder()
                               .file("first.txt", "first")
                               .file("second.txt", "second")
                               .file("third.img", randomBytes(200000))
                               .build();
    QString archivePath = save(zip);
    QString output = m_out;
    SequentialBuffer buffer;
    buffer.setData(zip);

    ArchiveExtractor extractor;
    Recorder recorder(&extractor);
    switch (setup) {
    case MissingFile:
        archivePath += ".missing";
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
    case Truncated:
        archivePath = save(zip.left(zip.size() / 2));
        break;
    case OutputIsAFile:
        output = archivePath;
        break;
    case DeviceWriteOnly:
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        break;
    case DeviceSequential:
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        break;
    }
    if (setup >= DeviceNotOpen) {
        extractor.setArchive(&buffer);
    } else if (setup != NothingSet) {
        extractor.setArchive(archivePath);
    }
    extractor.setOutputDirectory(output);
    QVERIFY(recorder.run(extractor));

    QCOMPARE(recorder.last(), QString("error %1").arg(code));
    QTEST(filesUnder(m_out), "written");
    if (setup == Truncated) {
        QCOMPARE(readFile(m_out + "/second.txt"), "second");
    }
}

void TestArchiveExtractor::passwords()
{
    const QByteArray secret = randomBytes(50000);
    const ArchiveBuilder builder = ArchiveBuilder().file("secret.img", secret).encrypt("sesame");
    QByteArray zip;
    do {
        zip = builder.build();
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

void TestArchiveExtractor::progress_data()
{
    QTest::addColumn<bool>("calculate");
    QTest::addColumn<bool>("describeFirst");
    QTest::addColumn<QStringList>("entries");
    const QStringList entries = {"a.txt", "b/c.txt", "b/d.txt", "e.txt"};
    QTest::newRow("without calculation") << false << false << entries;
    QTest::newRow("with calculation") << true << false << entries;
    // The description counts entries, not paths, or progress would end at 150 percent.
    QTest::newRow("counted by getInfo, a path repeated")
        << true << true << QStringList({"Info.xml", "map.img", "Info.xml"});
}

void TestArchiveExtractor::progress()
{
    QFETCH(bool, calculate);
    QFETCH(bool, describeFirst);
    QFETCH(QStringList, entries);
    ArchiveBuilder builder(ArchiveBuilder::Tar);
    for (int i = 0; i < entries.size(); ++i) {
        builder.file(entries.at(i), QByteArray::number(i));
    }
    ArchiveExtractor extractor(save(builder.build()), m_out, nullptr, false);
    extractor.setCalculateProgress(calculate);
    Recorder recorder(&extractor);
    if (describeFirst) {
        extractor.getInfo();
    }
    QVERIFY(recorder.run(extractor));

    QCOMPARE(recorder.last(), "finished");
    QCOMPARE(recorder.progress.size(), entries.size());
    const QString folder = QFileInfo(m_out).canonicalFilePath() + '/';
    const int n = int(entries.size());
    for (int i = 0; i < n; ++i) {
        const Progress &p = recorder.progress.at(i);
        QCOMPARE(p.path, folder + entries.at(i));
        QCOMPARE(QList<int>({p.processed, p.total, p.percent}),
                 calculate ? QList<int>({i + 1, n, (i + 1) * 100 / n}) : QList<int>({0, 0, 0}));
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
    ArchiveExtractor extractor(save(builder.build()), m_out);
    extractor.addFilter(filters.first());
    extractor.addFilter(filters.mid(1));
    Recorder recorder(&extractor);
    QVERIFY(recorder.run(extractor));

    QCOMPARE(recorder.last(), "finished");
    QCOMPARE(filesUnder(m_out), written);
    // Skipped entries are still reported, under their own path.
    const QString folder = QFileInfo(m_out).canonicalFilePath() + '/';
    for (int i = 0; i < entries.size(); ++i) {
        const QString &entry = entries.at(i);
        QCOMPARE(recorder.progress.at(i).path, written.contains(entry) ? folder + entry : entry);
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

void TestArchiveExtractor::describesEntries_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("fileType");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("modified");
    const QString when = "2021-03-04T05:06:07Z";
    QTest::newRow("folder") << "maps/"
                            << "maps"
                            << "Directory" << 0ll << "None" << when;
    QTest::newRow("KiB") << "maps/a.img"
                         << "a.img"
                         << "RegularFile" << 4ll << "KiB" << when;
    QTest::newRow("bytes, no time") << "small.txt"
                                    << "small.txt"
                                    << "RegularFile" << 500ll << "Bytes"
                                    << "Unknown";
    QTest::newRow("beyond 4 GiB") << "big.img"
                                  << "big.img"
                                  << "RegularFile" << 5ll << "GiB" << when;
}

void TestArchiveExtractor::describesEntries()
{
    QFETCH(QString, path);
    QFETCH(qint64, size);
    ArchiveExtractor extractor;
    extractor.setArchive(save(ArchiveBuilder(ArchiveBuilder::Tar)
                                  .directory("maps/")
                                  .file("maps/a.img", randomBytes(5000))
                                  .file("small.txt", randomBytes(500), 0)
                                  .sparseFile("big.img", 5ll << 30)
                                  .build()));
    Recorder recorder(&extractor);
    extractor.getInfo();
    QVERIFY(QTest::qWaitFor([&] { return !recorder.infos.isEmpty(); }, Patience));

    QCOMPARE(recorder.infos.first().size(), 4);
    const QJsonObject entry = recorder.infos.first().value(path).toObject();
    QTEST(entry.value("FileName").toString(), "fileName");
    QTEST(entry.value("FileType").toString(), "fileType");
    QCOMPARE(entry.value("Size").toInteger(), size);
    QTEST(entry.value("SizeUnit").toString(), "unit");
    QTEST(entry.value("LastModifiedTime").toString(), "modified");
    if (path == "big.img") {
        QCOMPARE(entry.value("Blocks").toInteger(), (5ll << 30) / 512);
    }
}

void TestArchiveExtractor::descriptionIsCachedButFailuresAreNot()
{
    const QByteArray zip = ArchiveBuilder()
                               .file("a.txt", "a")
                               .file("b.img", randomBytes(100000))
                               .file("c.img", randomBytes(100000))
                               .build();
    QBuffer whole;
    whole.setData(zip);
    QVERIFY(whole.open(QIODevice::ReadOnly) && whole.seek(7));
    QBuffer truncated;
    truncated.setData(zip.left(zip.size() * 3 / 4));
    QVERIFY(truncated.open(QIODevice::ReadOnly));
    ArchiveExtractor extractor;
    Recorder recorder(&extractor);

    extractor.setArchive(&whole);
    extractor.getInfo();
    QVERIFY(QTest::qWaitFor([&] { return recorder.infos.size() == 1; }, Patience));
    QCOMPARE(recorder.infos.at(0).keys(), QStringList({"a.txt", "b.img", "c.img"}));
    QCOMPARE(whole.pos(), 7);  // where its owner left it
    whole.buffer().fill('\0'); // reading it again would fail
    extractor.getInfo();
    QVERIFY(QTest::qWaitFor([&] { return recorder.infos.size() == 2; }, Patience));
    QCOMPARE(recorder.infos.at(1), recorder.infos.at(0));

    extractor.setArchive(&truncated);
    extractor.getInfo();
    extractor.getInfo();
    QVERIFY(recorder.waitForEnds(2));
    QCOMPARE(recorder.events, QStringList({"error 8", "error 8"}));
    QCOMPARE(recorder.infos.size(), 2);
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
    QTest::newRow("accented") << "cartes-é"
                              << "absolute";
    QTest::newRow("beyond Latin-1") << "карты-地図"
                                    << "absolute";
}

void TestArchiveExtractor::writesIntoTheOutputFolder()
{
    QFETCH(QString, folderName);
    QFETCH(QString, givenAs);
    const QString folder = m_out + '/' + folderName;
    QVERIFY(QDir().mkpath(folder));
    QString given = folder;
    if (givenAs == "relative") {
        QVERIFY(QDir::setCurrent(m_out));
        given = folderName;
    } else if (givenAs == "link") {
        given = m_out + "/link";
        QVERIFY(QFile::link(folder, given));
    }
    ArchiveExtractor extractor(save(ArchiveBuilder().file("Halvorn/Info.xml", "<Info/>").build()),
                               given);
    Recorder recorder(&extractor);
    QVERIFY(recorder.run(extractor));

    QCOMPARE(recorder.last(), "finished");
    // Nothing landed in a folder of another name.
    QCOMPARE(filesUnder(m_out), QStringList{folderName + "/Halvorn/Info.xml"});
    QCOMPARE(readFile(folder + "/Halvorn/Info.xml"), "<Info/>");
}

void TestArchiveExtractor::linksAndPathsStayInTheOutputFolder_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<bool>("withOutputFolder");
    QTest::addColumn<QString>("outcome");
    const QString victim = m_outside + "/victim";
    using B = ArchiveBuilder;
    QTest::newRow("dot-dot") << B().file("../outside/evil", "evil").build() << true << "error 7";
    QTest::newRow("through an absolute link")
        << B(B::Tar).symlink("maps", m_outside).file("maps/evil", "evil").build() << true
        << "error 7";
    QTest::newRow("through a relative link")
        << B(B::Tar).symlink("maps", "../outside").file("maps/evil", "evil").build() << true
        << "error 7";
    QTest::newRow("hard link to an absolute path, with data")
        << B::tarHardLinkWithData("evil", victim.toUtf8(), "PWNED") << true << "error 7";
    QTest::newRow("hard link with dot-dot, with data")
        << B::tarHardLinkWithData("evil", "../outside/victim", "PWNED") << true << "error 7";
    QTest::newRow("hard link within the archive")
        << B(B::Tar).file("maps/a.img", "tile").hardLink("maps/b.img", "maps/a.img").build() << true
        << "finished";
    QTest::newRow("file over a link to an outside file")
        << B(B::Tar).symlink("evil", victim).file("evil", "PWNED").build() << true << "finished";
    QTest::newRow("absolute path, no output folder")
        << B(B::Tar).file(m_outside + "/evil", "evil").build() << false << "error 7";
}

void TestArchiveExtractor::linksAndPathsStayInTheOutputFolder()
{
    QFETCH(QByteArray, archive);
    QFETCH(bool, withOutputFolder);
    ArchiveExtractor extractor;
    extractor.setArchive(save(archive));
    if (withOutputFolder) {
        extractor.setOutputDirectory(m_out);
    } else {
        QVERIFY(QDir::setCurrent(m_out));
    }
    Recorder recorder(&extractor);
    QVERIFY(recorder.run(extractor));

    QTEST(recorder.last(), "outcome");
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
