#include "copier/FileCopier.h"

#include "copier/CopyThread.h"

#include <QFileInfo>
#include <QTimer>

FileCopier::FileCopier(QObject *parent)
    : QObject(parent)
    , m_thread(new CopyThread(this))
    , m_progressTimer(new QTimer(this))
{
    m_progressTimer->setInterval(200);
    connect(m_progressTimer, &QTimer::timeout, this, &FileCopier::progressRequest);
}

// The worker learns through destroyed() that the copier is gone, finishes what is queued and
// deletes itself.
FileCopier::~FileCopier() = default;

int FileCopier::copy(const QString &source, const QString &destination, int flags)
{
    if (m_state != Idle || QFileInfo(source).isDir() || !m_thread) {
        return -1;
    }
    const CopyRequest request = CopyRequest::make(source, destination, flags);
    const int id = m_nextId++;
    m_requests.insert(id, request);
    m_thread->copy(id, request);
    // Started from the event loop, so that a caller can queue several requests before the
    // worker picks the first one.
    QTimer::singleShot(0, m_thread.data(), &CopyThread::restart);
    return id;
}

int FileCopier::progressInterval() const
{
    return m_progressTimer->interval();
}

void FileCopier::setProgressInterval(int milliseconds)
{
    m_progressTimer->setInterval(milliseconds);
}

void FileCopier::setAutoReset(bool autoReset)
{
    m_autoReset = autoReset;
    if (m_thread) {
        m_thread->setAutoReset(autoReset);
    }
}

void FileCopier::cancelAll()
{
    if (m_thread && m_thread->cancel() && m_state == WaitingForAnswer) {
        resumeAfterAnswer();
    }
}

void FileCopier::cancel(int id)
{
    if (m_thread && m_thread->cancel(id) && m_state == WaitingForAnswer) {
        resumeAfterAnswer();
    }
}

void FileCopier::skip()
{
    if (m_state == WaitingForAnswer && m_thread) {
        m_thread->skip();
        resumeAfterAnswer();
    }
}

void FileCopier::skipAll()
{
    if (m_state == WaitingForAnswer && m_thread) {
        m_thread->skipAll();
        resumeAfterAnswer();
    }
}

void FileCopier::retry()
{
    if (m_state == WaitingForAnswer && m_thread) {
        m_thread->retry();
        resumeAfterAnswer();
    }
}

void FileCopier::overwrite()
{
    if (m_state == WaitingForAnswer && m_thread) {
        m_thread->overwrite();
        resumeAfterAnswer();
    }
}

void FileCopier::overwriteAll()
{
    if (m_state == WaitingForAnswer && m_thread) {
        m_thread->overwriteAll();
        resumeAfterAnswer();
    }
}

void FileCopier::reset()
{
    resetSkip();
    resetOverwrite();
}

void FileCopier::resetSkip()
{
    if (m_thread) {
        m_thread->resetSkip();
    }
}

void FileCopier::resetOverwrite()
{
    if (m_thread) {
        m_thread->resetOverwrite();
    }
}

void FileCopier::copyStarted(int id)
{
    if (m_state != Busy) {
        m_progressTimer->start();
        if (m_state == Idle) {
            m_errorSeen = false;
        }
        setState(Busy);
    }
    m_activeIds.append(id);
    Q_EMIT started(id);
}

void FileCopier::copyFinished(int id, bool error)
{
    if (!m_activeIds.isEmpty()) {
        m_activeIds.removeLast();
    }
    Q_EMIT finished(id, error);
    if (error) {
        m_errorSeen = true;
        removeDescendants(id);
    }
    m_requests.remove(id);
    if (!m_requests.isEmpty()) {
        return;
    }
    if (m_state != Idle) {
        m_progressTimer->stop();
        setState(Idle);
    }
    Q_EMIT done(m_errorSeen);
}

void FileCopier::copyCanceled()
{
    m_requests.clear();
    m_activeIds.clear();
    Q_EMIT canceled();
    if (m_state != Idle) {
        m_progressTimer->stop();
        setState(Idle);
    }
    Q_EMIT done(false);
}

void FileCopier::copyError(int id, FileCopier::Error error, bool stopped)
{
    // A cancel may have released the request after the worker reported it stopped; only a
    // request that still waits makes the copier wait, or no answer could ever move it on.
    if (stopped && !(m_thread && m_thread->isWaitingForAnswer(id))) {
        stopped = false;
    }
    if (stopped && m_state != WaitingForAnswer) {
        m_progressTimer->stop();
        setState(WaitingForAnswer);
    }
    Q_EMIT this->error(id, error, stopped);
}

void FileCopier::progressRequest()
{
    if (m_state == Busy && m_thread) {
        m_thread->progress();
    }
}

// The state is set before it is announced: a receiver that answers or queues a copy from its
// stateChanged slot must find the copier in the state it was told about.
void FileCopier::setState(State state)
{
    m_state = state;
    Q_EMIT stateChanged(state);
}

void FileCopier::resumeAfterAnswer()
{
    m_progressTimer->start();
    setState(Busy);
}

void FileCopier::removeDescendants(int id)
{
    QList<int> pending = m_requests.value(id).childIds;
    while (!pending.isEmpty()) {
        const int child = pending.takeLast();
        const auto it = m_requests.constFind(child);
        if (it != m_requests.constEnd()) {
            pending.append(it->childIds);
            m_requests.erase(it);
        }
    }
}
