#include "HashingFileSink.h"

HashingFileSink::HashingFileSink(const QString &path)
    : m_file(path)
{
}

bool HashingFileSink::open()
{
    m_size = 0;
    m_hash.reset();
    return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

bool HashingFileSink::write(const char *data, qint64 size)
{
    if (m_file.write(data, size) != size) {
        return false;
    }
    m_hash.addData(QByteArrayView(data, size));
    m_size += size;
    return true;
}

bool HashingFileSink::close()
{
    const bool flushed = m_file.flush();
    m_file.close();
    return flushed && m_file.error() == QFileDevice::NoError;
}

QString HashingFileSink::md5Hex() const
{
    return QString::fromLatin1(m_hash.result().toHex());
}
