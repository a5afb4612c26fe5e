#include "archive/ArchiveEntryDescription.h"

#include <QDateTime>

#include <archive_entry.h>

namespace {

constexpr qint64 KiB = 1024;
constexpr qint64 MiB = 1024 * KiB;
constexpr qint64 GiB = 1024 * MiB;
constexpr qint64 BlockSize = 512;

QString fileTypeName(unsigned int type)
{
    switch (type) {
    case AE_IFREG:
        return QStringLiteral("RegularFile");
    case AE_IFDIR:
        return QStringLiteral("Directory");
    case AE_IFLNK:
        return QStringLiteral("SymbolicLink");
    case AE_IFCHR:
        return QStringLiteral("CharacterDevice");
    case AE_IFBLK:
        return QStringLiteral("BlockDevice");
    case AE_IFIFO:
        return QStringLiteral("NamedPipe");
    case AE_IFSOCK:
        return QStringLiteral("Socket");
    default:
        return QStringLiteral("UnknownFile");
    }
}

// UTC, so the text means the same moment on every machine that reads it.
QString timeText(time_t seconds)
{
    if (seconds == 0) {
        return QStringLiteral("Unknown");
    }
    return QDateTime::fromSecsSinceEpoch(seconds).toUTC().toString(Qt::ISODate);
}

// The size in the largest unit that holds at least one whole unit, as {"Size", "SizeUnit"}.
QJsonObject sizeWithUnit(qint64 bytes)
{
    // 64-bit throughout: map images can pass 4 GiB, which a 32-bit size would wrap to nonsense.
    qint64 amount = bytes;
    QString unit;
    if (bytes == 0) {
        unit = QStringLiteral("None");
    } else if (bytes < KiB) {
        unit = QStringLiteral("Bytes");
    } else if (bytes < MiB) {
        amount = bytes / KiB;
        unit = QStringLiteral("KiB");
    } else if (bytes >= GiB) {
        amount = bytes / GiB;
        unit = QStringLiteral("GiB");
    } else {
        amount = bytes / MiB;
        unit = QStringLiteral("MiB");
    }
    return {{QStringLiteral("Size"), amount}, {QStringLiteral("SizeUnit"), unit}};
}

} // namespace

namespace ArchiveEntryDescription {

QJsonObject describe(archive_entry *entry, const QString &path)
{
    const unsigned int type = archive_entry_filetype(entry);
    QString fileName = path;
    if (type == AE_IFREG) {
        fileName = path.section(QLatin1Char('/'), -1);
    } else if (fileName.endsWith(QLatin1Char('/'))) {
        fileName.chop(1);
    }
    const qint64 size = archive_entry_size_is_set(entry) ? archive_entry_size(entry) : 0;

    QJsonObject description = sizeWithUnit(size);
    description.insert(QStringLiteral("FileName"), fileName);
    description.insert(QStringLiteral("FileType"), fileTypeName(type));
    description.insert(QStringLiteral("BlockSize"), BlockSize);
    description.insert(QStringLiteral("BlockSizeUnit"), QStringLiteral("Bytes"));
    description.insert(QStringLiteral("Blocks"), size / BlockSize);
    description.insert(QStringLiteral("LastAccessedTime"), timeText(archive_entry_atime(entry)));
    description.insert(QStringLiteral("LastModifiedTime"), timeText(archive_entry_mtime(entry)));
    description.insert(QStringLiteral("LastStatusModifiedTime"),
                       timeText(archive_entry_ctime(entry)));
    return description;
}

} // namespace ArchiveEntryDescription
