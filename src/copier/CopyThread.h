#pragma once

#include "copier/CopyRequest.h"
#include "copier/FileCopier.h"
#include "copier/ThreadRequest.h"

#include <QMap>
#include <QMutex>
#include <QSet>
#include <QThread>
#include <QWaitCondition>

#include <atomic>

// The worker behind FileCopier: carries the queued requests out one after another, in id order,
// through a chain of copy steps, and reports back through signals. A failed interactive request
// blocks the worker until an answer arrives. The application owns the worker, so it can finish
// what is queued after its copier is gone; then it deletes itself.
class CopyThread : public QThread
{
    Q_OBJECT

public:
    // `copier` receives the results through its slots copyError, copyStarted, copyFinished and
    // copyCanceled and its signal dataTransferProgress; its destruction ends the worker.
    explicit CopyThread(QObject *copier);
    ~CopyThread() override;

    void setAutoReset(bool autoReset);
    // Whether request `id` is blocked waiting for an answer right now.
    bool isWaitingForAnswer(int id);

    // For the copy steps, in the worker thread.
    void handleRequest(int id);
    bool isCanceled(int id);
    void removeDescendants(int id);
    bool sourceRemovalPending(int id);
    void setSourceRemovalPending(int id, bool pending);
    bool progressRequested() const { return m_progressRequested.load(std::memory_order_relaxed); }
    void reportProgress(int id, qint64 bytes);
    // Reports every entry of a directory that was moved in one piece as copied.
    void reportMovedDescendants(int id);

Q_SIGNALS:
    void error(int id, FileCopier::Error error, bool stopped);
    void started(int id);
    void dataTransferProgress(int id, qint64 progress);
    void finished(int id, bool error);
    void canceled();

public Q_SLOTS:
    void restart();
    void copy(int id, const CopyRequest &request);
    void copy(const QMap<int, CopyRequest> &requests);
    // The cancels return true when they released a request that was waiting for an answer.
    bool cancel();
    bool cancel(int id);
    void skip();
    void skipAll();
    void retry();
    void overwrite();
    void overwriteAll();
    void resetOverwrite();
    void resetSkip();
    void progress();

private Q_SLOTS:
    void copierDestroyed();

protected:
    void run() override;

private:
    bool attempt(int id, FileCopier::Error &error, int &flags);
    // These expect m_mutex to be held.
    void insertLocked(int id, const CopyRequest &request);
    QList<int> descendantsLocked(int id) const;
    void markCanceledLocked(int id);
    void answerLocked();

    QMap<int, ThreadRequest> m_requests;
    QMutex m_mutex;
    QWaitCondition m_newCopyCondition;
    QWaitCondition m_answerCondition;
    bool m_waitingForAnswer = false;
    bool m_copierGone = false;
    bool m_skipAllRequested = false;
    QSet<int> m_skippedErrors;
    bool m_overwriteAllActive = false;
    bool m_cancelAllRequested = false;
    int m_currentId = -1;
    // Set by the copier's timer without the mutex, so it must be atomic.
    std::atomic<bool> m_progressRequested = false;
    bool m_autoReset = true;
};
