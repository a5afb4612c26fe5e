#include "ArchiveBuilder.h"

#include <QFile>

#include <archive.h>
#include <archive_entry.h>
#include <cstring>
#include <stdexcept>

namespace {

la_ssize_t appendTo(archive *, void *data, const void *buffer, size_t size)
{
    static_cast<QByteArray *>(data)->append(static_cast<const char *>(buffer), qsizetype(size));
    return la_ssize_t(size);
}

void check(int status, archive *writer)
{
    if (status < ARCHIVE_WARN) {
        throw std::runtime_error(archive_error_string(writer));
    }
}

} // namespace

ArchiveBuilder::ArchiveBuilder(Format format)
    : m_format(format)
{
}

ArchiveBuilder &ArchiveBuilder::file(const QString &path, const QByteArray &data, qint64 time)
{
    m_entries.append({path, AE_IFREG, data, {}, false, data.size(), time});
    return *this;
}

ArchiveBuilder &ArchiveBuilder::directory(const QString &path)
{
    m_entries.append({path, AE_IFDIR, {}, {}, false, 0});
    return *this;
}

ArchiveBuilder &ArchiveBuilder::symlink(const QString &path, const QString &target)
{
    m_entries.append({path, AE_IFLNK, {}, target, false, 0});
    return *this;
}

ArchiveBuilder &ArchiveBuilder::hardLink(const QString &path, const QString &target)
{
    m_entries.append({path, AE_IFREG, {}, target, true, 0});
    return *this;
}

ArchiveBuilder &ArchiveBuilder::sparseFile(const QString &path, qint64 size)
{
    m_entries.append({path, AE_IFREG, QByteArray(512, 'x'), {}, false, size});
    return *this;
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
        }
        if (e.size > e.data.size()) {
            archive_entry_sparse_add_entry(entry, 0, e.data.size());
        }
        check(archive_write_header(writer, entry), writer);
        if (!e.data.isEmpty()) {
            archive_write_data(writer, e.data.constData(), size_t(e.data.size()));
        }
        archive_entry_free(entry);
    }
    check(archive_write_close(writer), writer);
    archive_write_free(writer);
    return bytes;
}

void ArchiveBuilder::save(const QString &fileName) const
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(build()) < 0) {
        throw std::runtime_error("cannot write the test archive");
    }
}

QByteArray ArchiveBuilder::tarHardLinkWithData(const QByteArray &path, const QByteArray &target,
                                               const QByteArray &data)
{
    QByteArray header(512, '\0');
    const auto put = [&header](int offset, const QByteArray &field) {
        std::memcpy(header.data() + offset, field.constData(), size_t(field.size()));
    };
    put(0, path);
    put(100, "0000644");
    put(108, "0000000");
    put(116, "0000000");
    put(124, QByteArray::number(data.size(), 8).rightJustified(11, '0'));
    put(136, QByteArray::number(EntryTime, 8).rightJustified(11, '0'));
    put(148, "        ");
    header[156] = '1';
    put(157, target);
    put(257, QByteArray("ustar\0"
                        "00",
                        8));
    int sum = 0;
    for (char c : header) {
        sum += static_cast<unsigned char>(c);
    }
    put(148, QByteArray::number(sum, 8).rightJustified(6, '0') + '\0');

    QByteArray body = data;
    body.append(QByteArray((512 - data.size() % 512) % 512, '\0'));
    return header + body + QByteArray(1024, '\0');
}
