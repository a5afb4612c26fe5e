#include "ArchiveBuilder.h"

#include <archive.h>
#include <archive_entry.h>
#include <cstring>
#include <stdexcept>

namespace {

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

} // namespace

ArchiveBuilder &ArchiveBuilder::add(const Entry &entry)
{
    m_entries.append(entry);
    return *this;
}

ArchiveBuilder &ArchiveBuilder::file(const QString &path, const QByteArray &data, qint64 time)
{
    return add({path, AE_IFREG, data, {}, false, data.size(), time});
}

ArchiveBuilder &ArchiveBuilder::directory(const QString &path)
{
    return add({path, AE_IFDIR, {}, {}, false, 0, EntryTime});
}

ArchiveBuilder &ArchiveBuilder::symlink(const QString &path, const QString &target)
{
    return add({path, AE_IFLNK, {}, target, false, 0, EntryTime});
}

ArchiveBuilder &ArchiveBuilder::hardLink(const QString &path, const QString &target)
{
    return add({path, AE_IFREG, {}, target, true, 0, EntryTime});
}

ArchiveBuilder &ArchiveBuilder::sparseFile(const QString &path, qint64 size)
{
    return add({path, AE_IFREG, QByteArray(512, 'x'), {}, false, size, EntryTime});
}

ArchiveBuilder &ArchiveBuilder::encrypt(const QByteArray &passphrase)
{
    m_passphrase = passphrase;
    return *this;
}

QByteArray ArchiveBuilder::build() const
{
    QByteArray bytes;
    archive *writer = archive_write_new();
    if (m_format == Zip) {
        check(archive_write_set_format_zip(writer), writer);
        check(archive_write_zip_set_compression_deflate(writer), writer);
        if (!m_passphrase.isEmpty()) {
            check(archive_write_set_options(writer, "zip:encryption=aes256"), writer);
            check(archive_write_set_passphrase(writer, m_passphrase.constData()), writer);
        }
    } else {
        check(archive_write_set_format_pax_restricted(writer), writer);
        if (m_format == TarGz) {
            check(archive_write_add_filter_gzip(writer), writer);
        }
    }
    archive_write_set_bytes_in_last_block(writer, 1);
    check(archive_write_open(writer, &bytes, nullptr, appendTo, nullptr), writer);

    for (const Entry &e : m_entries) {
        archive_entry *entry = archive_entry_new();
        archive_entry_set_pathname_utf8(entry, e.path.toUtf8().constData());
        archive_entry_set_filetype(entry, e.type);
        archive_entry_set_perm(entry, e.type == AE_IFDIR ? 0755 : 0644);
        archive_entry_set_mtime(entry, time_t(e.time), 0);
        archive_entry_set_size(entry, e.size);
        if (e.type == AE_IFLNK) {
            archive_entry_set_symlink_utf8(entry, e.link.toUtf8().constData());
        } else if (e.hardLink) {
            archive_entry_set_hardlink_utf8(entry, e.link.toUtf8().constData());
        } else if (e.size > e.data.size()) {
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

QByteArray ArchiveBuilder::tarHardLinkWithData(const QByteArray &path, const QByteArray &target,
                                               const QByteArray &data)
{
    QByteArray header(512, '\0');
    const auto put = [&header](int offset, const QByteArray &field) {
        std::memcpy(header.data() + offset, field.constData(), size_t(field.size()));
    };
    const auto octal = [](qint64 value, int width) {
        return QByteArray::number(value, 8).rightJustified(width, '0');
    };
    put(0, path);
    put(100, "0000644");
    put(124, octal(data.size(), 11));
    put(136, octal(EntryTime, 11));
    put(148, "        "); // the checksum counts its own field as blanks
    header[156] = '1';
    put(157, target);
    put(257, QByteArray("ustar\0"
                        "00",
                        8));
    int sum = 0;
    for (char c : header) {
        sum += static_cast<unsigned char>(c);
    }
    put(148, octal(sum, 6) + '\0');
    const QByteArray padding((512 - data.size() % 512) % 512, '\0');
    return header + data + padding + QByteArray(1024, '\0');
}
