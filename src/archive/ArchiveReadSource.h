#pragma once

#include <QtGlobal>

#include <archive.h>
#include <memory>

class QIODevice;

// Feeds libarchive from a seekable QIODevice. Each reader keeps its own position in the device, so
// the counting pass, the description pass and a paused extraction can share one device; a device
// the caller supplied is also put back where its owner left it.
class ArchiveReadSource
{
public:
    // Block sizes below this are not honoured: libarchive would call back for every few bytes.
    static constexpr int MinimumBlockSize = 1024;
    // What replaces a block size below the minimum; 10204, not the 10240 default, as it always was.
    static constexpr int SmallBlockChunkSize = 10204;

    // Installs a new source over `device` as the callbacks of `reader` and opens the reader. From
    // then on the source belongs to the reader, whose close frees it (also when opening fails).
    // A `shared` device is put back where its owner left it after every read and seek.
    static int open(archive *reader, QIODevice *device, int blockSize, bool shared);

    ArchiveReadSource(const ArchiveReadSource &) = delete;
    ArchiveReadSource &operator=(const ArchiveReadSource &) = delete;

private:
    ArchiveReadSource(QIODevice *device, int blockSize, bool shared);

    static int onOpen(archive *reader, void *data);
    static la_ssize_t onRead(archive *reader, void *data, const void **buffer);
    static la_int64_t onSeek(archive *reader, void *data, la_int64_t offset, int whence);
    static int onClose(archive *reader, void *data);

    // Moves the device to `position` unless it is there already; false when it cannot get there.
    bool moveDevice(qint64 position);
    void restoreOwnerPosition(qint64 position);

    QIODevice *m_device;
    qint64 m_position = 0;
    int m_chunkSize;
    bool m_shared;
    std::unique_ptr<char[]> m_buffer;
};
