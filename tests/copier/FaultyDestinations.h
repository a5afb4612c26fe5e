#pragma once

#include <QtGlobal>

#include <memory>

// While it exists, every file a copier writes goes through a stand-in that can misbehave the way
// a card does: fill up after some bytes, refuse to open once (a read-only image), or hold its
// first write until the test lets it go (a copy caught halfway).
class FaultyDestinations
{
public:
    FaultyDestinations();
    ~FaultyDestinations(); // releases any held write and restores plain files

    // Each file takes this many bytes, then writes fail; negative: no limit.
    void setCapacity(qint64 bytes);
    void refuseFirstOpen();
    void holdFirstWrite();

    int heldWrites() const; // writes that have reached the hold
    void release();
    int filesCreated() const;

    struct State;

private:
    std::shared_ptr<State> m_state;
};
