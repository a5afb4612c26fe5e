#pragma once

#include "archive/ArchiveHandle.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QObject>
#include <QStringList>

struct archive_entry;
class QIODevice;

// The worker behind ArchiveExtractor: drives libarchive entry by entry and keeps the state of the
// run. It lives on the extractor's thread, or on the caller's in single-threaded mode, and is only
// touched from there; the owner stops a threaded run by interrupting the thread.
class ArchiveExtractorPrivate : public QObject
{
    Q_OBJECT

public:
    explicit ArchiveExtractorPrivate(QObject *parent = nullptr);
    ~ArchiveExtractorPrivate() override;

    // Called in single-threaded mode by the owner as it goes away: a run in progress stops at its
    // next block. Returns false while one of our slots is still on the stack below the caller (a
    // receiver deleting the extractor from one of its signals); we then delete ourselves once that
    // slot has returned, rather than being deleted under it.
    bool abandon();

public Q_SLOTS:
    void setArchive(QIODevice *archive);
    void setArchive(const QString &archivePath);
    void setArchive(const QString &archivePath, const QString &outputDirectory);
    void setBlockSize(int size);
    void setCalculateProgress(bool calculate);
    void setFilesAndFoldersOnly(bool only);
    void setOutputDirectory(const QString &directory);
    void setPassword(const QString &password);
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
    void progress(const QString &entryPath, int processed, int total, int percent);
    void getInfoRequirePassword(int tries);
    void extractionRequirePassword(int tries);
    void info(const QJsonObject &info);

private:
    int openArchive();
    int checkOutputDirectory();
    int getTotalEntriesCount();
    int processArchiveInformation();
    int writeData(archive_entry *entry);
    int extract();

    int openReader(ArchiveReader &reader) const;
    void rebase(archive_entry *entry, const QString &path) const;
    void reportProgress(archive_entry *entry);
    void endRun(int result);
    void processEvents();
    void releaseHandles();
    bool stopRequested() const;
    void enterWork();
    void leaveWork();
    // Settings that shape a run cannot change while one is running or paused.
    bool runInProgress() const { return m_running || m_paused; }

    static constexpr int DefaultBlockSize = 10240;
    // Milliseconds between turns of the event loop within an entry.
    static constexpr int EventInterval = 10;

    bool m_pauseRequested = false;
    bool m_cancelRequested = false;
    bool m_paused = false;
    bool m_running = false;
    bool m_finished = false;
    bool m_noProgress = true;
    bool m_filesAndFoldersOnly = false;
    bool m_archiveOpened = false;
    int m_infoPasswordTries = 0;
    int m_extractPasswordTries = 0;
    int m_processedEntries = 0;
    int m_totalEntries = -1;
    int m_blockSize = DefaultBlockSize;
    QString m_outputDirectory;
    QString m_password;
    QString m_archivePath;
    QIODevice *m_archive = nullptr;
    ArchiveReader m_reader;
    ArchiveWriter m_writer;
    QStringList m_filters;
    QJsonObject m_info;
    QElapsedTimer m_sinceEvents;

    // How deeply our own slots are nested on the stack (processEvents() lets calls in).
    int m_busy = 0;
    bool m_abandoned = false;
    bool m_deleteWhenIdle = false;
};
