#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Builds small archives in memory with libarchive's writer, for the extractor's tests.
class ArchiveBuilder
{
public:
    enum Format
    {
        Zip,
        TarGz,
        Tar
    };

    static constexpr qint64 EntryTime = 1614834367; // 2021-03-04T05:06:07Z

    explicit ArchiveBuilder(Format format = Zip)
        : m_format(format)
    {
    }

    ArchiveBuilder &file(const QString &path, const QByteArray &data, qint64 time = EntryTime);
    ArchiveBuilder &directory(const QString &path);
    ArchiveBuilder &symlink(const QString &path, const QString &target);
    ArchiveBuilder &hardLink(const QString &path, const QString &target);
    // An entry of `size` bytes that takes almost no room: one data block, then a hole (tar only).
    ArchiveBuilder &sparseFile(const QString &path, qint64 size);
    // Zip only: AES-256 with this passphrase.
    ArchiveBuilder &encrypt(const QByteArray &passphrase);

    QByteArray build() const;

    // A ustar hard link that carries data: libarchive's writers never make one, but its reader
    // takes it, and its disk writer writes the data into the link's target.
    static QByteArray tarHardLinkWithData(const QByteArray &path, const QByteArray &target,
                                          const QByteArray &data);

private:
    struct Entry
    {
        QString path;
        unsigned int type;
        QByteArray data;
        QString link;
        bool hardLink;
        qint64 size;
        qint64 time;
    };

    ArchiveBuilder &add(const Entry &entry);

    Format m_format;
    QByteArray m_passphrase;
    QList<Entry> m_entries;
};
