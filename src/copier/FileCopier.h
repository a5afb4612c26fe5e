#pragma once

#include "copier/CopyRequest.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>

class CopyThread;
class QTimer;

// Copies files on a worker thread for a thread with an event loop. copy() queues a request and
// returns its id at once; progress, errors and completion come back as signals in the caller's
// thread. A failed interactive request holds the worker until the caller answers with one of the
// answer slots or cancels it.
class FileCopier : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int progressInterval READ progressInterval WRITE setProgressInterval)
    Q_PROPERTY(bool autoReset READ autoReset WRITE setAutoReset)

public:
    enum State
    {
        Idle = 0,
        Busy = 1,
        WaitingForAnswer = 2
    };
    Q_ENUM(State)

    enum Error
    {
        NoError = 0,
        SourceNotFound = 1,
        DestinationExists = 2,
        SourceIsDirectory = 3,
        SourceNotDirectory = 4,
        DestinationParentMissing = 5,
        CannotCreateDestinationDirectory = 6,
        CannotOpenSource = 7,
        CannotOpenDestination = 8,
        CannotRemoveDestination = 9,
        CannotCreateLink = 10,
        CannotReadSource = 11,
        CannotWriteDestination = 12,
        CannotRemoveSource = 13,
        Canceled = 14
    };
    Q_ENUM(Error)

    enum CopyFlag
    {
        // A failure never waits for an answer, and an existing destination is replaced.
        NonInteractive = 1,
        // A destination that cannot be opened for writing is deleted and created again.
        ForceReplace = 2,
        // Link the destination to the source instead of copying it.
        MakeLinks = 4,
        // Copy the file a link points to instead of the link.
        FollowLinks = 8
    };
    Q_ENUM(CopyFlag)

    explicit FileCopier(QObject *parent = nullptr);
    ~FileCopier() override;

    // Queues a copy of one file and returns its id (counting from 0), or -1 when the copier is
    // not Idle or the source is a directory.
    int copy(const QString &source, const QString &destination, int flags = 0);

    State state() const { return m_state; }
    int progressInterval() const;
    void setProgressInterval(int milliseconds);
    bool autoReset() const { return m_autoReset; }
    void setAutoReset(bool autoReset);

Q_SIGNALS:
    void error(int id, FileCopier::Error error, bool stopped);
    void stateChanged(FileCopier::State state);
    void done(bool error);
    void started(int id);
    void dataTransferProgress(int id, qint64 progress);
    void finished(int id, bool error);
    void canceled();

public Q_SLOTS:
    void cancelAll();
    void cancel(int id);
    void skip();
    void skipAll();
    void retry();
    void overwrite();
    void overwriteAll();
    void reset();
    void resetSkip();
    void resetOverwrite();

private Q_SLOTS:
    void copyStarted(int id);
    void copyFinished(int id, bool error);
    void copyCanceled();
    void copyError(int id, FileCopier::Error error, bool stopped);
    void progressRequest();

private:
    void setState(State state);
    void resumeAfterAnswer();
    void removeDescendants(int id);

    QPointer<CopyThread> m_thread; // owned by the application; outlives the copier
    QTimer *m_progressTimer;
    State m_state = Idle;
    bool m_errorSeen = false;
    int m_nextId = 0;
    QList<int> m_activeIds; // innermost last
    QMap<int, CopyRequest> m_requests;
    bool m_autoReset = true;
};
