#pragma once

#include <QCoreApplication>
#include <QLockFile>
#include <QString>

// One HalvornSync at a time. A second copy would put back and delete what the first one is in
// the middle of installing (the recovery at the language choice, the download folder's reset),
// so it says so and ends. The run holds a lock file in the program's data folder until it ends;
// the lock a killed run left behind is taken over.
class SingleRun
{
    Q_DECLARE_TR_FUNCTIONS(SingleRun)

public:
    // `folder` holds the lock: the program's data folder unless a test names another.
    explicit SingleRun(const QString &folder = dataFolder());

    // True when this run may go on: it holds the lock, or no lock can be made there at all (a
    // folder it may not write to), which must not keep the user from the program. Otherwise
    // tells the user that HalvornSync is already running and returns false.
    bool claim();

    // QStandardPaths::AppDataLocation.
    static QString dataFolder();

private:
    QLockFile m_lock;
};
