#include "ZipStreamWriter.h"

#include "HashingFileSink.h"

#include <archive.h>
#include <archive_entry.h>
#include <cstring>
#include <memory>

namespace {
constexpr qint64 chunkSize = 1 << 20;

la_ssize_t writeToSink(struct archive *, void *clientData, const void *buffer, size_t length)
{
    auto *writer = static_cast<HashingFileSink *>(clientData);
    return writer->write(static_cast<const char *>(buffer), qint64(length)) ? la_ssize_t(length)
                                                                            : -1;
}
} // namespace

ZipStreamWriter::ZipStreamWriter(HashingFileSink &sink)
    : m_sink(sink)
{
}

ZipStreamWriter::~ZipStreamWriter()
{
    if (m_archive) {
        archive_write_free(m_archive);
    }
}

bool ZipStreamWriter::open()
{
    m_archive = archive_write_new();
    archive_write_set_format_zip(m_archive);
    archive_write_set_options(m_archive, "zip:compression=store");
    // No padding after the central directory: the file ends where the zip ends.
    archive_write_set_bytes_per_block(m_archive, 0);
    archive_write_set_bytes_in_last_block(m_archive, 1);
    return archive_write_open2(m_archive, &m_sink, nullptr, &writeToSink, nullptr, nullptr) ==
           ARCHIVE_OK;
}

bool ZipStreamWriter::writeHeader(const QString &path, qint64 size, bool directory)
{
    std::unique_ptr<archive_entry, decltype(&archive_entry_free)> entry(archive_entry_new(),
                                                                        &archive_entry_free);
    const QByteArray name = path.toUtf8();
    archive_entry_set_pathname_utf8(entry.get(), name.constData());
    archive_entry_set_filetype(entry.get(), directory ? AE_IFDIR : AE_IFREG);
    archive_entry_set_perm(entry.get(), directory ? 0755 : 0644);
    archive_entry_set_size(entry.get(), directory ? 0 : size);
    archive_entry_set_mtime(entry.get(), 1700000000, 0);
    return archive_write_header(m_archive, entry.get()) == ARCHIVE_OK;
}

bool ZipStreamWriter::addDirectory(const QString &path)
{
    return writeHeader(path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/'), 0, true);
}

bool ZipStreamWriter::addFile(const QString &path, const QByteArray &content)
{
    return addFile(path, content.size(),
                   [&content, offset = qint64(0)](char *buffer, qint64 size) mutable {
                       std::memcpy(buffer, content.constData() + offset, size_t(size));
                       offset += size;
                   });
}

bool ZipStreamWriter::addFile(const QString &path, qint64 size, const Fill &fill)
{
    if (!writeHeader(path, size, false)) {
        return false;
    }
    QByteArray buffer(int(qMin(size, chunkSize)), Qt::Uninitialized);
    for (qint64 written = 0; written < size;) {
        const qint64 count = qMin<qint64>(buffer.size(), size - written);
        fill(buffer.data(), count);
        if (archive_write_data(m_archive, buffer.constData(), size_t(count)) != count) {
            return false;
        }
        written += count;
    }
    return archive_write_finish_entry(m_archive) == ARCHIVE_OK;
}

bool ZipStreamWriter::close()
{
    const bool closed = archive_write_close(m_archive) == ARCHIVE_OK;
    archive_write_free(m_archive);
    m_archive = nullptr;
    return closed;
}

QString ZipStreamWriter::errorString() const
{
    const char *text = m_archive ? archive_error_string(m_archive) : nullptr;
    return text ? QString::fromUtf8(text) : m_sink.errorString();
}
