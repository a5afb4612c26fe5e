#pragma once

#include <QJsonObject>
#include <QObject>
#include <QStringList>

class ArchiveExtractorPrivate;
class QIODevice;
class QThread;

// Unpacks an archive (a file, or a seekable device the caller supplies) into a folder, entry by
// entry, with progress, pause, resume, cancel and numbered errors. libarchive detects the format
// and the compression.
//
// Every slot only queues the call for the worker object and returns at once, so calls are carried
// out in the order they are made, whenever the worker's event loop runs: on a thread of its own,
// or on this object's thread in single-threaded mode. Set the archive first: it clears the output
// folder, the filters and the password set before it.
//
// Signals are emitted on the worker's thread. Connect receivers that touch widgets with automatic
// or queued connections.
class ArchiveExtractor : public QObject
{
    Q_OBJECT

public:
    // The codes carried by error(short).
    enum ErrorCode : short
    {
        OutOfMemory = 1,
        OutputDirectoryNotAccessible = 2,
        NoArchive = 3,
        ArchiveNotFound = 4,
        CannotOpenReader = 5,
        CannotWriteData = 6,
        CannotWriteEntry = 7,
        CannotReadArchive = 8,
        DeviceNotReadable = 9,
        DeviceNotOpen = 10,
        PassphraseRequired = 11,
        IncorrectPassphrase = 12,
        CannotOpenArchive = 13,
        ArchiveNotReadable = 14,
        OutputDirectoryMissing = 15,
        ArchiveNotAFile = 16,
    };

    explicit ArchiveExtractor(QObject *parent = nullptr, bool singleThreaded = true);
    ArchiveExtractor(const QString &archivePath, const QString &outputDirectory,
                     QObject *parent = nullptr, bool singleThreaded = true);
    // Stops a run in progress at its next block (what was written stays) and then goes away;
    // with a thread, waits for it to end.
    ~ArchiveExtractor() override;

public Q_SLOTS:
    // The device must stay open and alive for as long as it is the archive.
    void setArchive(QIODevice *archive);
    void setArchive(const QString &archivePath);
    void setArchive(const QString &archivePath, const QString &outputDirectory);
    void setBlockSize(int size);
    void setCalculateProgress(bool calculate);
    // With `only` set, entries that are neither files nor folders (symbolic and hard links,
    // devices, pipes) are passed over, like entries that name no file, and still counted; the
    // setting survives clear(). Off by default.
    void setFilesAndFoldersOnly(bool only);
    void setOutputDirectory(const QString &directory);
    void setPassword(const QString &password);
    // Entry paths to extract, compared exactly and case-sensitively; without any, all are.
    void addFilter(const QString &entryPath);
    void addFilter(const QStringList &entryPaths);
    void clear();
    void getInfo();
    void start();
    void cancel();
    void pause();
    void resume();

Q_SIGNALS:
    void started();
    void canceled();
    void paused();
    void resumed();
    void finished();
    void error(short code);
    // Without progress calculation, processed, total and percent are all 0.
    void progress(const QString &entryPath, int processed, int total, int percent);
    void getInfoRequirePassword(int tries);
    void extractionRequirePassword(int tries);
    void info(const QJsonObject &info);

private:
    ArchiveExtractorPrivate *m_d;
    QThread *m_thread = nullptr;
};
