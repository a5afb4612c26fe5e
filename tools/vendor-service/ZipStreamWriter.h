#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

struct archive;
class HashingFileSink;

// Writes a zip archive (entries stored, not compressed) into a sink, entry by entry. Large entries
// are written from a fill function chunk by chunk, so no entry is ever held in memory whole.
// Entries of 4 GiB and more get zip64 records.
class ZipStreamWriter
{
public:
    using Fill = std::function<void(char *buffer, qint64 size)>;

    explicit ZipStreamWriter(HashingFileSink &sink);
    ~ZipStreamWriter();

    bool open();
    bool addDirectory(const QString &path);
    bool addFile(const QString &path, const QByteArray &content);
    bool addFile(const QString &path, qint64 size, const Fill &fill);
    bool close();

    QString errorString() const;

private:
    bool writeHeader(const QString &path, qint64 size, bool directory);

    HashingFileSink &m_sink;
    archive *m_archive = nullptr;
};
