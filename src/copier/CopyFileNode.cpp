#include "copier/CopyFileNode.h"

#include "copier/CopyThread.h"
#include "copier/DestinationFileFactory.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {
// Unbuffered: a write that fails must fail here, not later in a close() that cannot report it,
// or a full card would count as a finished copy.
constexpr QIODevice::OpenMode writeMode =
    QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered;
// Large blocks matter on removable drives, which Windows mounts without write caching: every
// write goes to the card by itself. On the heap, since a worker thread's stack may be 1 MiB.
constexpr qint64 blockSize = 1 << 20;

// Also true through links and hard links, which name the same data under another path.
bool sameFile(const QString &a, const QString &b)
{
    std::error_code error;
    return std::filesystem::equivalent(QFileInfo(a).filesystemFilePath(),
                                       QFileInfo(b).filesystemFilePath(), error);
}
} // namespace

CopyFileNode::CopyFileNode(const CopyRequest &request, CopyThread *thread, int id)
    : m_request(request)
    , m_thread(thread)
    , m_id(id)
{
}

bool CopyFileNode::handle()
{
    if (m_request.isDir) {
        setError(FileCopier::SourceIsDirectory);
        return false;
    }
    QFile source(m_request.source);
    if (!source.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        setError(FileCopier::CannotOpenSource);
        return false;
    }
    // Opening the destination truncates it: were it the source, its data would be gone.
    if (sameFile(m_request.source, m_request.destination)) {
        setError(FileCopier::CannotOpenDestination);
        return false;
    }
    const std::unique_ptr<QFile> destination =
        DestinationFileFactory::create(m_request.destination);
    if (!openDestination(*destination)) {
        return false;
    }

    const bool completed = copyData(source, *destination);
    const QFileDevice::Permissions permissions = source.permissions();
    source.close();
    if (error() != FileCopier::NoError) {
        // Never leave a partial file that looks like a copy.
        QFile::remove(m_request.destination);
    } else {
        QFile::setPermissions(m_request.destination, permissions);
    }
    return completed;
}

bool CopyFileNode::openDestination(QFile &destination)
{
    if (destination.open(writeMode)) {
        return true;
    }
    if (!(m_request.flags & FileCopier::ForceReplace)) {
        setError(FileCopier::CannotOpenDestination);
        return false;
    }
    const QFileInfo info(m_request.destination);
    if (!info.dir().remove(info.fileName())) {
        setError(FileCopier::CannotRemoveDestination);
        return false;
    }
    if (!destination.open(writeMode)) {
        setError(FileCopier::CannotOpenDestination);
        return false;
    }
    return true;
}

bool CopyFileNode::copyData(QFile &source, QFile &destination)
{
    QByteArray block(blockSize, Qt::Uninitialized);
    char *buffer = block.data();
    qint64 copied = 0;
    bool failed = false;
    for (;;) {
        if (m_thread->isCanceled(m_id)) {
            setError(FileCopier::Canceled);
            break;
        }
        const qint64 read = source.read(buffer, blockSize);
        if (read == 0) {
            m_thread->reportProgress(m_id, copied);
            break;
        }
        if (read < 0) {
            setError(FileCopier::CannotReadSource);
            failed = true;
            break;
        }
        if (destination.write(buffer, read) < read) {
            setError(FileCopier::CannotWriteDestination);
            failed = true;
            break;
        }
        copied += read;
        if (m_thread->progressRequested()) {
            m_thread->reportProgress(m_id, copied);
        }
    }
    destination.close();
    // Some file systems report a lost write only when the file is closed.
    if (!failed && error() == FileCopier::NoError && destination.error() != QFileDevice::NoError) {
        setError(FileCopier::CannotWriteDestination);
        failed = true;
    }
    return !failed;
}
