#pragma once

#include "copier/DestinationFileFactory.h"

#include <QFile>
#include <QSemaphore>
#include <QThread>

#include <atomic>
#include <memory>

// While it exists, every file a copier writes goes through a stand-in that can misbehave the way
// a card does: fill up after some bytes, refuse to open once (a read-only image), or hold its
// first write until the test lets it go (a copy caught halfway). With `cardFolder` set, only the
// files written into it misbehave. Every write may take its time, as on a slow card.
class FaultyDestinations
{
public:
    struct State
    {
        std::atomic<qint64> capacity = -1; // bytes each file takes before writes fail
        std::atomic<bool> refuseFirstOpen = false;
        std::atomic<bool> holdFirstWrite = false;
        std::atomic<int> heldWrites = 0;   // writes that have reached the hold
        std::atomic<int> failingFiles = 0; // the next files created refuse every write
        std::atomic<int> writeDelayMs = 0; // for every file, in or out of `cardFolder`
        QString cardFolder;                // set before any copy starts
        QSemaphore released;
    };

    FaultyDestinations()
    {
        DestinationFileFactory::setFactory(
            [state = state](const QString &path) { return std::make_unique<File>(path, state); });
    }
    ~FaultyDestinations()
    {
        release();
        DestinationFileFactory::setFactory({});
    }
    void release() { state->released.release(); }

    const std::shared_ptr<State> state = std::make_shared<State>();

private:
    class File : public QFile
    {
    public:
        File(const QString &path, std::shared_ptr<State> state)
            : QFile(path)
            , m_state(std::move(state))
            , m_affected(m_state->cardFolder.isEmpty() ||
                         path.startsWith(m_state->cardFolder + QLatin1Char('/')))
            , m_failing(m_affected && m_state->failingFiles.fetch_sub(1) > 0)
        {
        }

        bool open(OpenMode mode) override
        {
            if (m_affected && m_state->refuseFirstOpen && !m_refused) {
                m_refused = true;
                return false;
            }
            return QFile::open(mode);
        }

    protected:
        qint64 writeData(const char *data, qint64 length) override
        {
            QThread::msleep(m_state->writeDelayMs);
            if (m_affected && m_state->holdFirstWrite && m_writes++ == 0) {
                ++m_state->heldWrites;
                m_state->released.acquire();
                m_state->released.release(); // for the next held write
            }
            if (m_failing) {
                return -1;
            }
            const qint64 capacity = m_affected ? m_state->capacity.load() : -1;
            if (capacity >= 0) {
                if (m_written >= capacity) {
                    return -1;
                }
                length = qMin(length, capacity - m_written);
            }
            const qint64 written = QFile::writeData(data, length);
            m_written += qMax<qint64>(written, 0);
            return written;
        }

    private:
        std::shared_ptr<State> m_state;
        const bool m_affected;
        const bool m_failing;
        bool m_refused = false;
        int m_writes = 0;
        qint64 m_written = 0;
    };
};
