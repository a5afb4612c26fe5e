#include "PseudoRandomFiller.h"

#include <QString>

#include <cstring>

PseudoRandomFiller::PseudoRandomFiller(quint64 seed)
    : m_state(seed ? seed : 0x9E3779B97F4A7C15ull)
{
}

quint64 PseudoRandomFiller::next()
{
    m_state ^= m_state >> 12;
    m_state ^= m_state << 25;
    m_state ^= m_state >> 27;
    return m_state * 0x2545F4914F6CDD1Dull;
}

void PseudoRandomFiller::fill(char *buffer, qint64 size)
{
    qint64 offset = 0;
    while (offset < size) {
        const quint64 value = next();
        const qint64 count = qMin<qint64>(sizeof value, size - offset);
        std::memcpy(buffer + offset, &value, size_t(count));
        offset += count;
    }
}

quint64 PseudoRandomFiller::seedFor(const QString &name)
{
    // FNV-1a: any stable hash will do, it only has to differ between files.
    quint64 hash = 0xcbf29ce484222325ull;
    for (const QChar c : name) {
        hash ^= c.unicode();
        hash *= 0x100000001b3ull;
    }
    return hash;
}
