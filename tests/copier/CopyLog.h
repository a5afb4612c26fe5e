#pragma once

#include "copier/FileCopier.h"

#include <QMap>
#include <QObject>
#include <QStringList>

// Records what a copier reports, in order, as short texts such as "started(0)",
// "error(0,DestinationExists,stopped)", "state(Busy)" or "done(false)"; progress reports are kept
// apart per request because their number depends on timing. It can also stand in for the copier
// of a CopyThread: its slots carry the copier's names.
class CopyLog : public QObject
{
    Q_OBJECT

public:
    explicit CopyLog(QObject *parent = nullptr);

    void watch(FileCopier *copier);

    QStringList events;
    QMap<int, QList<qint64>> progress;

Q_SIGNALS:
    void dataTransferProgress(int id, qint64 progress);

public Q_SLOTS:
    void copyStarted(int id);
    void copyFinished(int id, bool error);
    void copyCanceled();
    void copyError(int id, FileCopier::Error error, bool stopped);

private:
    void recordProgress(int id, qint64 bytes);
};
