#include "archive/ArchiveReadSource.h"

#include <QIODevice>

#include <cerrno>
#include <cstdio>
#include <new>

ArchiveReadSource::ArchiveReadSource(QIODevice *device, int blockSize, bool shared)
    : m_device(device)
    , m_chunkSize(blockSize < MinimumBlockSize ? SmallBlockChunkSize : blockSize)
    , m_shared(shared)
    // The block size is the caller's to choose: a huge one must fail the open, not the program.
    , m_buffer(new (std::nothrow) char[m_chunkSize])
{
}

int ArchiveReadSource::open(archive *reader, QIODevice *device, int blockSize, bool shared)
{
    archive_read_set_open_callback(reader, onOpen);
    archive_read_set_read_callback(reader, onRead);
    archive_read_set_seek_callback(reader, onSeek);
    archive_read_set_close_callback(reader, onClose);
    archive_read_set_callback_data(reader, new ArchiveReadSource(device, blockSize, shared));
    return archive_read_open1(reader);
}

bool ArchiveReadSource::moveDevice(qint64 position)
{
    return m_device->pos() == position || m_device->seek(position);
}

// Left alone, a device of our own stays where the last reader stopped, which saves two seeks per
// read while a single reader runs.
void ArchiveReadSource::restoreOwnerPosition(qint64 position)
{
    if (m_shared) {
        moveDevice(position);
    }
}

int ArchiveReadSource::onOpen(archive *reader, void *data)
{
    const auto *source = static_cast<ArchiveReadSource *>(data);
    if (!source || !source->m_buffer) {
        archive_set_error(reader, ENOMEM, "No memory for the read buffer");
        return ARCHIVE_FATAL;
    }
    const QIODevice *device = source->m_device;
    if (!device || !device->isOpen() || !device->isReadable()) {
        archive_set_error(reader, EBADF, "The archive is not open for reading");
        return ARCHIVE_FATAL;
    }
    // Most formats seek (zip reads its directory at the end first), and every reader must be
    // able to go back to its own position in a shared device.
    if (device->isSequential()) {
        archive_set_error(reader, ESPIPE, "The archive cannot be read from a sequential device");
        return ARCHIVE_FATAL;
    }
    return ARCHIVE_OK;
}

la_ssize_t ArchiveReadSource::onRead(archive *reader, void *data, const void **buffer)
{
    auto *source = static_cast<ArchiveReadSource *>(data);
    QIODevice *device = source->m_device;
    const qint64 ownerPosition = device->pos();
    if (!source->moveDevice(source->m_position)) {
        source->restoreOwnerPosition(ownerPosition);
        archive_set_error(reader, EIO, "Cannot seek in the archive");
        return -1;
    }
    const qint64 count = device->read(source->m_buffer.get(), source->m_chunkSize);
    source->m_position = device->pos();
    source->restoreOwnerPosition(ownerPosition);
    if (count < 0) {
        archive_set_error(reader, EIO, "Cannot read the archive");
        return -1;
    }
    *buffer = source->m_buffer.get();
    return count;
}

la_int64_t ArchiveReadSource::onSeek(archive *reader, void *data, la_int64_t offset, int whence)
{
    auto *source = static_cast<ArchiveReadSource *>(data);
    QIODevice *device = source->m_device;
    qint64 target = offset;
    if (whence == SEEK_CUR) {
        target += source->m_position;
    } else if (whence == SEEK_END) {
        target += device->size();
    } else if (whence != SEEK_SET) {
        archive_set_error(reader, EINVAL, "Unknown seek origin");
        return -1;
    }
    const qint64 ownerPosition = device->pos();
    if (target < 0 || !source->moveDevice(target)) {
        source->restoreOwnerPosition(ownerPosition);
        archive_set_error(reader, EIO, "Cannot seek in the archive");
        return -1;
    }
    source->m_position = device->pos();
    source->restoreOwnerPosition(ownerPosition);
    return source->m_position;
}

int ArchiveReadSource::onClose(archive *, void *data)
{
    delete static_cast<ArchiveReadSource *>(data);
    return ARCHIVE_OK;
}
