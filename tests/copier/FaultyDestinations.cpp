#include "FaultyDestinations.h"

#include "copier/DestinationFileFactory.h"

#include <QFile>
#include <QMutex>
#include <QWaitCondition>

#include <atomic>

struct FaultyDestinations::State
{
    std::atomic<qint64> capacity = -1;
    std::atomic<bool> refuseFirstOpen = false;
    std::atomic<bool> holdFirstWrite = false;
    std::atomic<int> heldWrites = 0;
    std::atomic<int> filesCreated = 0;
    QMutex mutex;
    QWaitCondition releasedCondition;
    bool released = false;
};

namespace {
class FaultyFile : public QFile
{
public:
    FaultyFile(const QString &path, std::shared_ptr<FaultyDestinations::State> state)
        : QFile(path)
        , m_state(std::move(state))
    {
    }

    bool open(OpenMode mode) override
    {
        if (m_state->refuseFirstOpen && !m_refused) {
            m_refused = true;
            return false;
        }
        return QFile::open(mode);
    }

protected:
    qint64 writeData(const char *data, qint64 length) override
    {
        if (m_state->holdFirstWrite && m_writes++ == 0) {
            QMutexLocker locker(&m_state->mutex);
            ++m_state->heldWrites;
            while (!m_state->released) {
                m_state->releasedCondition.wait(&m_state->mutex);
            }
        }
        const qint64 capacity = m_state->capacity;
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
    std::shared_ptr<FaultyDestinations::State> m_state;
    bool m_refused = false;
    int m_writes = 0;
    qint64 m_written = 0;
};
} // namespace

FaultyDestinations::FaultyDestinations()
    : m_state(std::make_shared<State>())
{
    DestinationFileFactory::setFactory([state = m_state](const QString &path) {
        ++state->filesCreated;
        return std::make_unique<FaultyFile>(path, state);
    });
}

FaultyDestinations::~FaultyDestinations()
{
    release();
    DestinationFileFactory::setFactory({});
}

void FaultyDestinations::setCapacity(qint64 bytes)
{
    m_state->capacity = bytes;
}

void FaultyDestinations::refuseFirstOpen()
{
    m_state->refuseFirstOpen = true;
}

void FaultyDestinations::holdFirstWrite()
{
    m_state->holdFirstWrite = true;
}

int FaultyDestinations::heldWrites() const
{
    return m_state->heldWrites;
}

void FaultyDestinations::release()
{
    QMutexLocker locker(&m_state->mutex);
    m_state->released = true;
    m_state->releasedCondition.wakeAll();
}

int FaultyDestinations::filesCreated() const
{
    return m_state->filesCreated;
}
