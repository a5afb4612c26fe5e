#pragma once

#include <QtGlobal>

// Fills buffers with a repeatable stream of incompressible bytes (xorshift64*), so sample maps
// behave like real ones on the wire and their checksums are stable from run to run.
class PseudoRandomFiller
{
public:
    explicit PseudoRandomFiller(quint64 seed);

    void fill(char *buffer, qint64 size);

    static quint64 seedFor(const QString &name);

private:
    quint64 next();

    quint64 m_state;
};
