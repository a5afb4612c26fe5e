#include "app/SingleRun.h"

#include "app/PopupDialog.h"

#include <QDir>
#include <QStandardPaths>

SingleRun::SingleRun(const QString &folder)
    : m_lock(QDir(folder).filePath(QStringLiteral("halvornsync.lock")))
{
    // A run lasts as long as the user likes: only a lock whose program has gone is stale, never
    // one that is merely old.
    m_lock.setStaleLockTime(0);
    QDir().mkpath(folder);
}

QString SingleRun::dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

bool SingleRun::claim()
{
    if (m_lock.tryLock() || m_lock.error() != QLockFile::LockFailedError) {
        return true;
    }
    PopupDialog::ask(tr("Already running"), tr("HalvornSync is already running."), QString(),
                     tr("OK"));
    return false;
}
