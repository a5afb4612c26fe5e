#include "copier/CopyThread.h"

#include "copier/CanceledNode.h"
#include "copier/CopyDirNode.h"
#include "copier/CopyFileNode.h"
#include "copier/FollowLinksNode.h"
#include "copier/MakeLinksNode.h"
#include "copier/MoveNode.h"
#include "copier/OverwriteNode.h"
#include "copier/RenameNode.h"
#include "copier/SourceExistsNode.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMutexLocker>

namespace {
std::unique_ptr<ChainNode> buildChain(const ThreadRequest &request, CopyThread *thread, int id,
                                      bool overwriteAll)
{
    std::unique_ptr<ChainNode> chain = std::make_unique<CopyFileNode>(request, thread, id);
    if (request.sourceRemovalPending) {
        // The data is in place already and the destination now exists: only the removal of the
        // source is left, so the checks for a missing source or an existing destination, which
        // would stop the request again, do not apply.
        chain = std::make_unique<MoveNode>(std::move(chain));
        return std::make_unique<CanceledNode>(request.canceled, std::move(chain));
    }
    chain = std::make_unique<CopyDirNode>(std::move(chain));
    chain = std::make_unique<MoveNode>(std::move(chain));
    chain = std::make_unique<RenameNode>(std::move(chain));
    chain = std::make_unique<FollowLinksNode>(std::move(chain));
    chain = std::make_unique<MakeLinksNode>(std::move(chain));
    chain = std::make_unique<OverwriteNode>(overwriteAll || request.overwrite, std::move(chain));
    chain = std::make_unique<SourceExistsNode>(std::move(chain));
    return std::make_unique<CanceledNode>(request.canceled, std::move(chain));
}
} // namespace

CopyThread::CopyThread(QObject *copier)
    : QThread(QCoreApplication::instance())
{
    qRegisterMetaType<FileCopier::Error>("FileCopier::Error");
    qRegisterMetaType<CopyRequest>("CopyRequest");
    qRegisterMetaType<QMap<int, CopyRequest>>("QMap<int,CopyRequest>");

    // By signature: the overloads of started and finished hide QThread's own signals.
    connect(this, SIGNAL(error(int, FileCopier::Error, bool)), copier,
            SLOT(copyError(int, FileCopier::Error, bool)));
    connect(this, SIGNAL(started(int)), copier, SLOT(copyStarted(int)));
    connect(this, SIGNAL(dataTransferProgress(int, qint64)), copier,
            SIGNAL(dataTransferProgress(int, qint64)));
    connect(this, SIGNAL(finished(int, bool)), copier, SLOT(copyFinished(int, bool)));
    connect(this, SIGNAL(canceled()), copier, SLOT(copyCanceled()));
    connect(copier, SIGNAL(destroyed()), this, SLOT(copierDestroyed()));
    // Deleted only once run() has returned: deleting a QThread that still runs aborts.
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

// Normally reached through deleteLater after the thread has ended. The application also deletes
// a worker that is still copying when the program ends: the copy is canceled (its partial file
// removed) and the thread ended, instead of aborting.
CopyThread::~CopyThread()
{
    {
        QMutexLocker locker(&m_mutex);
        m_copierGone = true;
        m_cancelAllRequested = true;
        for (ThreadRequest &request : m_requests) {
            request.canceled = true;
        }
        m_newCopyCondition.wakeAll();
        m_answerCondition.wakeAll();
    }
    wait();
}

void CopyThread::setAutoReset(bool autoReset)
{
    QMutexLocker locker(&m_mutex);
    m_autoReset = autoReset;
}

bool CopyThread::isWaitingForAnswer(int id)
{
    QMutexLocker locker(&m_mutex);
    return m_waitingForAnswer && m_currentId == id;
}

void CopyThread::restart()
{
    QMutexLocker locker(&m_mutex);
    // Once the copier is gone, copierDestroyed() has started the thread for the last time.
    if (m_copierGone) {
        return;
    }
    if (!isRunning()) {
        start(InheritPriority);
    }
    m_newCopyCondition.wakeAll();
}

void CopyThread::copy(int id, const CopyRequest &request)
{
    QMutexLocker locker(&m_mutex);
    insertLocked(id, request);
}

void CopyThread::copy(const QMap<int, CopyRequest> &requests)
{
    QMutexLocker locker(&m_mutex);
    for (auto it = requests.cbegin(); it != requests.cend(); ++it) {
        insertLocked(it.key(), it.value());
    }
}

bool CopyThread::cancel()
{
    QMutexLocker locker(&m_mutex);
    for (ThreadRequest &request : m_requests) {
        request.canceled = true;
    }
    m_cancelAllRequested = true;
    // A request waiting for an answer is released too, or the cancel would wait for an answer
    // nobody is going to give.
    if (!m_waitingForAnswer) {
        return false;
    }
    answerLocked();
    return true;
}

bool CopyThread::cancel(int id)
{
    QMutexLocker locker(&m_mutex);
    markCanceledLocked(id);
    const bool releases =
        m_waitingForAnswer && (m_currentId == id || descendantsLocked(id).contains(m_currentId));
    if (releases) {
        answerLocked();
    }
    return releases;
}

void CopyThread::skip()
{
    QMutexLocker locker(&m_mutex);
    if (m_waitingForAnswer) {
        markCanceledLocked(m_currentId);
        answerLocked();
    }
}

void CopyThread::skipAll()
{
    QMutexLocker locker(&m_mutex);
    if (m_waitingForAnswer) {
        markCanceledLocked(m_currentId);
        m_skipAllRequested = true;
        answerLocked();
    }
}

void CopyThread::retry()
{
    QMutexLocker locker(&m_mutex);
    if (m_waitingForAnswer) {
        answerLocked();
    }
}

void CopyThread::overwrite()
{
    QMutexLocker locker(&m_mutex);
    if (!m_waitingForAnswer) {
        return;
    }
    QList<int> ids = descendantsLocked(m_currentId);
    ids.append(m_currentId);
    for (const int id : ids) {
        const auto it = m_requests.find(id);
        if (it != m_requests.end()) {
            it->overwrite = true;
        }
    }
    answerLocked();
}

void CopyThread::overwriteAll()
{
    QMutexLocker locker(&m_mutex);
    if (m_waitingForAnswer) {
        m_overwriteAllActive = true;
        answerLocked();
    }
}

void CopyThread::resetOverwrite()
{
    QMutexLocker locker(&m_mutex);
    m_overwriteAllActive = false;
}

void CopyThread::resetSkip()
{
    QMutexLocker locker(&m_mutex);
    m_skippedErrors.clear();
}

void CopyThread::progress()
{
    m_progressRequested.store(true, std::memory_order_relaxed);
}

void CopyThread::copierDestroyed()
{
    {
        QMutexLocker locker(&m_mutex);
        m_copierGone = true;
        m_newCopyCondition.wakeAll();
        m_answerCondition.wakeAll();
    }
    // A worker that never ran still has to carry out what was queued, and then delete itself.
    if (!isRunning()) {
        start(InheritPriority);
    }
}

void CopyThread::run()
{
    for (;;) {
        QMutexLocker locker(&m_mutex);
        if (m_requests.isEmpty()) {
            if (m_copierGone) {
                return;
            }
            m_progressRequested = false;
            m_cancelAllRequested = false;
            m_newCopyCondition.wait(&m_mutex);
            continue;
        }
        if (m_cancelAllRequested) {
            m_requests.clear();
            m_cancelAllRequested = false;
            Q_EMIT canceled();
            continue;
        }
        const int id = m_requests.firstKey();
        locker.unlock();
        handleRequest(id);
    }
}

void CopyThread::handleRequest(int id)
{
    int outerId = -1;
    {
        QMutexLocker locker(&m_mutex);
        if (m_cancelAllRequested || !m_requests.contains(id)) {
            return;
        }
        outerId = m_currentId;
        m_currentId = id;
    }
    Q_EMIT started(id);

    FileCopier::Error failure = FileCopier::NoError;
    for (;;) {
        int flags = 0;
        const bool handled = attempt(id, failure, flags);
        if (handled || (flags & FileCopier::NonInteractive)) {
            if (failure != FileCopier::NoError) {
                Q_EMIT error(id, failure, false);
            }
            break;
        }
        QMutexLocker locker(&m_mutex);
        if (m_copierGone) {
            break;
        }
        if (m_skippedErrors.contains(failure)) {
            Q_EMIT error(id, failure, false);
            break;
        }
        // Canceled while this attempt ran: the next attempt ends it without asking anyone.
        if (m_requests.value(id).canceled) {
            continue;
        }
        Q_EMIT error(id, failure, true);
        m_waitingForAnswer = true;
        while (m_waitingForAnswer && !m_copierGone) {
            m_answerCondition.wait(&m_mutex);
        }
        m_waitingForAnswer = false;
        if (m_skipAllRequested) {
            m_skipAllRequested = false;
            m_skippedErrors.insert(failure);
        }
    }

    // Removed before it is reported finished, so that a copier that has seen its last request
    // finish finds the worker's table empty and can start the next batch afresh.
    {
        QMutexLocker locker(&m_mutex);
        m_currentId = outerId;
        m_requests.remove(id);
    }
    Q_EMIT finished(id, failure != FileCopier::NoError);
}

bool CopyThread::attempt(int id, FileCopier::Error &error, int &flags)
{
    ThreadRequest request;
    bool overwriteAll = false;
    {
        QMutexLocker locker(&m_mutex);
        request = m_requests.value(id);
        overwriteAll = m_overwriteAllActive;
    }
    flags = request.flags;
    const std::unique_ptr<ChainNode> chain = buildChain(request, this, id, overwriteAll);
    const bool handled = chain->handle();
    error = chain->error();
    return handled;
}

bool CopyThread::isCanceled(int id)
{
    QMutexLocker locker(&m_mutex);
    if (m_cancelAllRequested) {
        return true;
    }
    const auto it = m_requests.constFind(id);
    return it != m_requests.constEnd() && it->canceled;
}

void CopyThread::removeDescendants(int id)
{
    QMutexLocker locker(&m_mutex);
    for (const int descendant : descendantsLocked(id)) {
        m_requests.remove(descendant);
    }
}

bool CopyThread::sourceRemovalPending(int id)
{
    QMutexLocker locker(&m_mutex);
    return m_requests.value(id).sourceRemovalPending;
}

void CopyThread::setSourceRemovalPending(int id, bool pending)
{
    QMutexLocker locker(&m_mutex);
    const auto it = m_requests.find(id);
    if (it != m_requests.end()) {
        it->sourceRemovalPending = pending;
    }
}

void CopyThread::reportProgress(int id, qint64 bytes)
{
    QMutexLocker locker(&m_mutex);
    Q_EMIT dataTransferProgress(id, bytes);
    m_progressRequested = false;
}

void CopyThread::reportMovedDescendants(int id)
{
    QList<int> children;
    {
        QMutexLocker locker(&m_mutex);
        children = m_requests.value(id).childIds;
    }
    for (const int child : children) {
        int outerId = -1;
        CopyRequest request;
        {
            QMutexLocker locker(&m_mutex);
            if (!m_requests.contains(child)) {
                continue;
            }
            request = m_requests.value(child);
            outerId = m_currentId;
            m_currentId = child;
        }
        Q_EMIT started(child);
        reportMovedDescendants(child);
        if (!request.isDir) {
            reportProgress(child, QFileInfo(request.destination).size());
        }
        {
            QMutexLocker locker(&m_mutex);
            m_currentId = outerId;
            m_requests.remove(child);
        }
        Q_EMIT finished(child, false);
    }
}

void CopyThread::insertLocked(int id, const CopyRequest &request)
{
    // The first request into an empty table starts a new batch: nothing of the last batch's
    // cancel or progress request may touch it, and its answers apply only when asked to.
    if (m_requests.isEmpty()) {
        m_cancelAllRequested = false;
        m_progressRequested = false;
        if (m_autoReset) {
            m_overwriteAllActive = false;
            m_skippedErrors.clear();
        }
    }
    m_requests.insert(id, ThreadRequest(request));
}

QList<int> CopyThread::descendantsLocked(int id) const
{
    QList<int> found;
    QList<int> pending = m_requests.value(id).childIds;
    while (!pending.isEmpty()) {
        const int child = pending.takeFirst();
        // A request table that lists a request under itself must not loop for ever.
        if (child == id || found.contains(child)) {
            continue;
        }
        found.append(child);
        pending.append(m_requests.value(child).childIds);
    }
    return found;
}

void CopyThread::markCanceledLocked(int id)
{
    QList<int> ids = descendantsLocked(id);
    ids.append(id);
    for (const int each : ids) {
        const auto it = m_requests.find(each);
        if (it != m_requests.end()) {
            it->canceled = true;
        }
    }
}

void CopyThread::answerLocked()
{
    m_waitingForAnswer = false;
    m_answerCondition.wakeAll();
}
