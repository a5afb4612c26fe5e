#pragma once

#include <QCryptographicHash>
#include <QFile>
#include <QString>

// A file being written that keeps the MD5 of everything written so far, so a generated file's
// checksum is known without reading it back.
class HashingFileSink
{
public:
    explicit HashingFileSink(const QString &path);

    bool open();
    bool write(const char *data, qint64 size);
    bool write(const QByteArray &data) { return write(data.constData(), data.size()); }
    bool close();

    qint64 size() const { return m_size; }
    QString md5Hex() const;
    QString errorString() const { return m_file.errorString(); }

private:
    QFile m_file;
    QCryptographicHash m_hash{QCryptographicHash::Md5};
    qint64 m_size = 0;
};
