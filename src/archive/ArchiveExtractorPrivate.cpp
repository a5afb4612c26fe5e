#include "archive/ArchiveExtractorPrivate.h"

#include "archive/ArchiveEntryDescription.h"
#include "archive/ArchiveExtractor.h"
#include "archive/ArchiveReadSource.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QThread>

#include <algorithm>
#include <archive.h>
#include <archive_entry.h>
#include <cstring>

namespace {

// Results of a run besides the error codes; never reported as errors.
constexpr int Ok = 0;
constexpr int PausedResult = 65534;
constexpr int CanceledResult = 65535;

// Restore times and permissions; refuse ".." elements, and refuse to write through a symbolic
// link: an archive could otherwise plant a link to any folder and then write its next entries
// through it, far outside the output folder.
constexpr int DiskWriteFlags = ARCHIVE_EXTRACT_TIME | ARCHIVE_EXTRACT_PERM |
                               ARCHIVE_EXTRACT_SECURE_NODOTDOT | ARCHIVE_EXTRACT_SECURE_SYMLINKS;

// The paths libarchive reports, in the UTF-8 form it keeps whatever the locale; names that have
// none fall back to their raw bytes.
QString utf8Path(const char *utf8, const char *raw)
{
    return QString::fromUtf8(utf8 ? utf8 : raw);
}

QString entryPath(archive_entry *entry)
{
    return utf8Path(archive_entry_pathname_utf8(entry), archive_entry_pathname(entry));
}

// Hands `directory` + `path` to libarchive in the form its disk writer uses: wide text where file
// names are UTF-16 (Windows); elsewhere the bytes themselves, the directory in the UTF-8 that Qt
// names files in and the entry's path as the archive has it, so the locale plays no part. 8-bit
// Latin-1 would send the entries of a folder whose name has an accent to a folder of another name.
template <typename SetWide, typename SetBytes>
void handOverPath(const QString &directory, const QString &path, const char *pathBytes,
                  SetWide setWide, SetBytes setBytes)
{
    if constexpr (sizeof(wchar_t) == sizeof(char16_t)) {
        setWide((directory + path).toStdWString().c_str());
    } else {
        setBytes((QFile::encodeName(directory) + pathBytes).constData());
    }
}

int readFailureCode(archive *reader)
{
    const char *text = archive_error_string(reader);
    if (text && std::strcmp(text, "Passphrase required for this entry") == 0) {
        return ArchiveExtractor::PassphraseRequired;
    }
    if (text && std::strcmp(text, "Incorrect passphrase") == 0) {
        return ArchiveExtractor::IncorrectPassphrase;
    }
    return ArchiveExtractor::CannotReadArchive;
}

// "", ".", "./", "/" and the like name no file of their own: rebased, they are the output folder
// itself, whose mode and times the disk writer would then set from the archive (a "./" entry of
// mode 000 locks the user out of the folder), or which it would replace by a file. A backslash
// counts as a separator too, as it does for the disk writer on Windows.
bool namesNoFileOfItsOwn(const QString &path)
{
    QString slashed = path;
    slashed.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = slashed.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    return std::all_of(parts.cbegin(), parts.cend(),
                       [](const QString &part) { return part == QLatin1String("."); });
}

// A hard link is a file entry that names another entry as its data.
bool isFileOrFolder(archive_entry *entry)
{
    const auto type = archive_entry_filetype(entry);
    return type == AE_IFDIR || (type == AE_IFREG && !archive_entry_hardlink(entry));
}

} // namespace

ArchiveExtractorPrivate::ArchiveExtractorPrivate(QObject *parent)
    : QObject(parent)
{
}

// The handles are members and go before the QFile child that they read from.
ArchiveExtractorPrivate::~ArchiveExtractorPrivate() = default;

bool ArchiveExtractorPrivate::abandon()
{
    m_abandoned = true;
    if (m_busy == 0) {
        return true;
    }
    m_deleteWhenIdle = true;
    return false;
}

void ArchiveExtractorPrivate::enterWork()
{
    ++m_busy;
}

void ArchiveExtractorPrivate::leaveWork()
{
    if (--m_busy == 0 && m_deleteWhenIdle) {
        deleteLater();
    }
}

// The owner stops us by interrupting our thread, or, in single-threaded mode, by abandon().
bool ArchiveExtractorPrivate::stopRequested() const
{
    return m_abandoned || QThread::currentThread()->isInterruptionRequested();
}

void ArchiveExtractorPrivate::setArchive(QIODevice *archive)
{
    if (runInProgress()) {
        return;
    }
    clear();
    m_archive = archive;
}

void ArchiveExtractorPrivate::setArchive(const QString &archivePath)
{
    if (runInProgress() || archivePath.isEmpty()) {
        return;
    }
    clear();
    m_archivePath = archivePath;
}

void ArchiveExtractorPrivate::setArchive(const QString &archivePath, const QString &outputDirectory)
{
    setArchive(archivePath);
    setOutputDirectory(outputDirectory);
}

void ArchiveExtractorPrivate::setBlockSize(int size)
{
    if (!runInProgress()) {
        m_blockSize = size;
    }
}

void ArchiveExtractorPrivate::setCalculateProgress(bool calculate)
{
    m_noProgress = !calculate;
}

void ArchiveExtractorPrivate::setFilesAndFoldersOnly(bool only)
{
    if (!runInProgress()) {
        m_filesAndFoldersOnly = only;
    }
}

void ArchiveExtractorPrivate::setOutputDirectory(const QString &directory)
{
    if (!runInProgress() && !directory.isEmpty()) {
        m_outputDirectory = directory + QLatin1Char('/');
    }
}

void ArchiveExtractorPrivate::setPassword(const QString &password)
{
    if (!password.isEmpty()) {
        m_password = password;
    }
}

void ArchiveExtractorPrivate::addFilter(const QString &entryPath)
{
    if (!runInProgress() && !entryPath.isEmpty()) {
        m_filters.append(entryPath);
    }
}

void ArchiveExtractorPrivate::addFilter(const QStringList &entryPaths)
{
    if (!runInProgress() && !entryPaths.isEmpty()) {
        m_filters.append(entryPaths);
    }
}

void ArchiveExtractorPrivate::clear()
{
    if (m_running) {
        return;
    }
    m_blockSize = DefaultBlockSize;
    m_infoPasswordTries = 0;
    m_extractPasswordTries = 0;
    m_totalEntries = -1;
    m_archiveOpened = false;
    m_pauseRequested = false;
    m_cancelRequested = false;
    m_paused = false;
    m_finished = false;
    m_archivePath.clear();
    m_password.clear();
    m_outputDirectory.clear();
    releaseHandles();
    m_info = QJsonObject();
    m_filters.clear();
    // A QFile we opened stays our child: a reader further up the stack may still be using it.
    m_archive = nullptr;
}

void ArchiveExtractorPrivate::getInfo()
{
    if (!m_info.isEmpty()) {
        Q_EMIT info(m_info);
        return;
    }
    if (stopRequested()) {
        return;
    }
    enterWork();
    const auto leave = qScopeGuard([this] { leaveWork(); });

    int code = openArchive();
    if (code == Ok) {
        code = processArchiveInformation();
    }
    if (code == Ok) {
        Q_EMIT info(m_info);
    } else if (code == ArchiveExtractor::PassphraseRequired ||
               code == ArchiveExtractor::IncorrectPassphrase) {
        Q_EMIT getInfoRequirePassword(m_infoPasswordTries++);
    } else if (code != CanceledResult) {
        Q_EMIT error(short(code));
    }
}

void ArchiveExtractorPrivate::start()
{
    if (runInProgress() || stopRequested()) {
        return;
    }
    enterWork();
    const auto leave = qScopeGuard([this] { leaveWork(); });

    if (const int code = openArchive()) {
        Q_EMIT error(short(code));
        return;
    }
    if (const int code = checkOutputDirectory()) {
        Q_EMIT error(short(code));
        return;
    }
    m_running = true;
    // A new run: cancel() must be heard again after an earlier run has finished.
    m_finished = false;
    Q_EMIT started();

    if (!m_noProgress && m_totalEntries == -1) {
        const int code = getTotalEntriesCount();
        if (m_totalEntries == -1) {
            endRun(code);
            return;
        }
    }
    endRun(extract());
}

void ArchiveExtractorPrivate::cancel()
{
    if (m_running && !m_paused && !m_finished) {
        m_cancelRequested = true;
    }
}

void ArchiveExtractorPrivate::pause()
{
    if (m_running && !m_paused) {
        m_pauseRequested = true;
    }
}

void ArchiveExtractorPrivate::resume()
{
    if (!m_paused || stopRequested()) {
        return;
    }
    enterWork();
    const auto leave = qScopeGuard([this] { leaveWork(); });

    m_paused = false;
    m_running = true;
    Q_EMIT resumed();
    // Ends like a run from start(): the archive stays open, so the extractor can run it again.
    endRun(extract());
}

void ArchiveExtractorPrivate::endRun(int result)
{
    m_running = false;
    switch (result) {
    case Ok:
        m_finished = true;
        Q_EMIT finished();
        return;
    case PausedResult:
        m_paused = true;
        Q_EMIT paused();
        return;
    case CanceledResult:
        Q_EMIT canceled();
        return;
    case ArchiveExtractor::PassphraseRequired:
    case ArchiveExtractor::IncorrectPassphrase:
        Q_EMIT extractionRequirePassword(m_extractPasswordTries++);
        break;
    default:
        break;
    }
    Q_EMIT error(short(result));
}

int ArchiveExtractorPrivate::openArchive()
{
    if (m_archivePath.isEmpty() && !m_archive) {
        return ArchiveExtractor::NoArchive;
    }
    if (m_archiveOpened) {
        return Ok;
    }
    if (m_archivePath.isEmpty()) {
        if (!m_archive->isOpen()) {
            return ArchiveExtractor::DeviceNotOpen;
        }
        if (!m_archive->isReadable()) {
            return ArchiveExtractor::DeviceNotReadable;
        }
        m_archiveOpened = true;
        return Ok;
    }

    const QFileInfo file(m_archivePath);
    if (!file.exists()) {
        return ArchiveExtractor::ArchiveNotFound;
    }
    if (!file.isFile()) {
        return ArchiveExtractor::ArchiveNotAFile;
    }
    if (!(file.permissions() & (QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther))) {
        return ArchiveExtractor::ArchiveNotReadable;
    }
    auto *archiveFile = new QFile(m_archivePath, this);
    // Unbuffered: libarchive asks for whole blocks at positions of its own, which a read-ahead
    // buffer would only copy once more and throw away at the next seek.
    if (!archiveFile->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        delete archiveFile;
        return ArchiveExtractor::CannotOpenArchive;
    }
    m_archive = archiveFile;
    m_archiveOpened = true;
    return Ok;
}

int ArchiveExtractorPrivate::checkOutputDirectory()
{
    if (m_outputDirectory.isEmpty()) {
        return Ok;
    }
    const QFileInfo directory(m_outputDirectory + QLatin1Char('/'));
    if (!directory.exists() || !directory.isDir()) {
        return ArchiveExtractor::OutputDirectoryMissing;
    }
    if (!directory.isWritable() || !directory.isReadable()) {
        return ArchiveExtractor::OutputDirectoryNotAccessible;
    }
    // The canonical path: the disk writer refuses to write through any symbolic link, including
    // one in the output folder's own path (a linked home or data folder).
    m_outputDirectory = directory.canonicalFilePath() + QLatin1Char('/');
    return Ok;
}

int ArchiveExtractorPrivate::openReader(ArchiveReader &reader) const
{
    reader.reset(archive_read_new());
    if (!reader) {
        return ArchiveExtractor::OutOfMemory;
    }
    if (!m_password.isEmpty()) {
        archive_read_add_passphrase(reader.get(), m_password.toLatin1().constData());
    }
    archive_read_support_format_all(reader.get());
    archive_read_support_filter_all(reader.get());
    // A file we opened ourselves has no owner whose position must be kept.
    const bool shared = m_archivePath.isEmpty();
    if (ArchiveReadSource::open(reader.get(), m_archive, m_blockSize, shared) != ARCHIVE_OK) {
        reader.reset();
        return ArchiveExtractor::CannotOpenReader;
    }
    return Ok;
}

int ArchiveExtractorPrivate::getTotalEntriesCount()
{
    if (!m_archive) {
        return ArchiveExtractor::NoArchive;
    }
    ArchiveReader reader;
    if (const int code = openReader(reader)) {
        return code;
    }
    int count = 0;
    for (;;) {
        archive_entry *entry = nullptr;
        const int status = archive_read_next_header(reader.get(), &entry);
        if (status == ARCHIVE_EOF) {
            m_totalEntries = count;
            return Ok;
        }
        if (status != ARCHIVE_OK) {
            return readFailureCode(reader.get());
        }
        ++count;
        QCoreApplication::processEvents();
        if (stopRequested()) {
            return CanceledResult;
        }
    }
}

int ArchiveExtractorPrivate::processArchiveInformation()
{
    if (!m_archive) {
        return ArchiveExtractor::NoArchive;
    }
    ArchiveReader reader;
    if (const int code = openReader(reader)) {
        return code;
    }
    QJsonObject description;
    int count = 0;
    for (;;) {
        archive_entry *entry = nullptr;
        const int status = archive_read_next_header(reader.get(), &entry);
        if (status == ARCHIVE_EOF) {
            break;
        }
        if (status != ARCHIVE_OK) {
            return readFailureCode(reader.get());
        }
        const QString path = entryPath(entry);
        description.insert(path, ArchiveEntryDescription::describe(entry, path));
        ++count;
        QCoreApplication::processEvents();
        if (stopRequested()) {
            return CanceledResult;
        }
    }
    // Kept only once complete: a partial description, cached after a failure, would later be
    // handed out as the whole archive's.
    m_info = description;
    // Headers, not distinct paths: an archive may hold one path twice, and progress must still
    // end at 100 percent.
    m_totalEntries = count;
    return Ok;
}

void ArchiveExtractorPrivate::rebase(archive_entry *entry, const QString &path) const
{
    handOverPath(
        m_outputDirectory, path, archive_entry_pathname(entry),
        [entry](const wchar_t *wide) { archive_entry_copy_pathname_w(entry, wide); },
        [entry](const char *bytes) { archive_entry_copy_pathname(entry, bytes); });
    // A hard link names another entry of the archive, so its target moves with it. Left as it is,
    // the target would be looked up from the current directory or, when absolute, anywhere.
    if (const char *target = archive_entry_hardlink(entry)) {
        handOverPath(
            m_outputDirectory, utf8Path(archive_entry_hardlink_utf8(entry), target), target,
            [entry](const wchar_t *wide) { archive_entry_copy_hardlink_w(entry, wide); },
            [entry](const char *bytes) { archive_entry_copy_hardlink(entry, bytes); });
    }
}

int ArchiveExtractorPrivate::writeData(archive_entry *entry)
{
    if (!m_reader || !m_writer || !m_archive) {
        return ArchiveExtractor::NoArchive;
    }
    const QString path = entryPath(entry);
    if ((!m_filters.isEmpty() && !m_filters.contains(path)) || namesNoFileOfItsOwn(path) ||
        (m_filesAndFoldersOnly && !isFileOrFolder(entry))) {
        return Ok;
    }
    if (!m_outputDirectory.isEmpty()) {
        rebase(entry, path);
    }
    if (archive_write_header(m_writer.get(), entry) != ARCHIVE_OK) {
        return ArchiveExtractor::CannotWriteEntry;
    }
    for (;;) {
        const void *block = nullptr;
        size_t size = 0;
        la_int64_t offset = 0;
        const int status = archive_read_data_block(m_reader.get(), &block, &size, &offset);
        if (status == ARCHIVE_EOF) {
            break;
        }
        if (status != ARCHIVE_OK) {
            return readFailureCode(m_reader.get());
        }
        if (archive_write_data_block(m_writer.get(), block, size, offset) != ARCHIVE_OK) {
            return ArchiveExtractor::CannotWriteData;
        }
        // Within an entry, only as often as a window needs to stay alive: turning the event loop
        // after every 10 KiB block cost more than the copying itself. Pause and cancel are looked
        // at between entries, where the loop always turns, so they are not delayed.
        if (m_sinceEvents.hasExpired(EventInterval)) {
            processEvents();
        }
        if (stopRequested()) {
            return CanceledResult;
        }
    }
    if (archive_write_finish_entry(m_writer.get()) == ARCHIVE_FATAL) {
        return ArchiveExtractor::CannotWriteEntry;
    }
    return Ok;
}

void ArchiveExtractorPrivate::reportProgress(archive_entry *entry)
{
    // The path as written (rebased), or the entry's own path when the filters skipped it.
    const QString path = entryPath(entry);
    if (m_totalEntries < 1) {
        Q_EMIT progress(path, 0, 0, 0);
        return;
    }
    ++m_processedEntries;
    const int percent = int(qint64(m_processedEntries) * 100 / m_totalEntries);
    Q_EMIT progress(path, m_processedEntries, m_totalEntries, percent);
}

void ArchiveExtractorPrivate::processEvents()
{
    QCoreApplication::processEvents();
    m_sinceEvents.start();
}

void ArchiveExtractorPrivate::releaseHandles()
{
    m_reader.reset();
    m_writer.reset();
}

int ArchiveExtractorPrivate::extract()
{
    if (!m_archive) {
        return ArchiveExtractor::NoArchive;
    }
    // Handles kept from a pause continue with the next entry.
    if (!m_reader || !m_writer) {
        releaseHandles();
        m_processedEntries = 0;
        m_writer.reset(archive_write_disk_new());
        if (!m_writer) {
            return ArchiveExtractor::OutOfMemory;
        }
        if (const int code = openReader(m_reader)) {
            releaseHandles();
            return code;
        }
        int flags = DiskWriteFlags;
        // Rebased paths are absolute by design; without an output folder, an absolute entry path
        // could name any file on the machine.
        if (m_outputDirectory.isEmpty()) {
            flags |= ARCHIVE_EXTRACT_SECURE_NOABSOLUTEPATHS;
        }
        if (archive_write_disk_set_options(m_writer.get(), flags) != ARCHIVE_OK) {
            releaseHandles();
            return ArchiveExtractor::CannotWriteData;
        }
    }

    m_sinceEvents.start();
    for (;;) {
        archive_entry *entry = nullptr;
        const int status = archive_read_next_header(m_reader.get(), &entry);
        if (status == ARCHIVE_EOF) {
            releaseHandles();
            return Ok;
        }
        if (status != ARCHIVE_OK) {
            const int code = readFailureCode(m_reader.get());
            releaseHandles();
            return code;
        }
        if (const int code = writeData(entry)) {
            releaseHandles();
            return code;
        }
        reportProgress(entry);
        // Lets queued pause() and cancel() calls in, and keeps a single-threaded caller's window
        // alive.
        processEvents();
        if (stopRequested()) {
            releaseHandles();
            return CanceledResult;
        }
        if (m_pauseRequested) {
            m_pauseRequested = false;
            return PausedResult;
        }
        if (m_cancelRequested) {
            m_cancelRequested = false;
            releaseHandles();
            return CanceledResult;
        }
    }
}
