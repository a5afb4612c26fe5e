#pragma once

#include "maps/MapInstallPlan.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class QJsonArray;

// Puts a downloaded computer map into the Garmin maps folder in place of the maps it supersedes,
// so that the user ends with the old map or the new one, never neither, whether a move fails, the
// program dies or the power goes.
//
// Superseded folders are not deleted first: they are moved into the set-aside folder (beside the
// download folder, on the same volume, so every move is a rename), then the new folders are moved
// in. Before the first move, every file of the new map is on the disk and each new folder carries
// a mark of this install. Each move is written to a journal, and the line synced, before it is
// made; once the folders the moves changed are synced, "done" is written and synced, and only then
// are the old folders deleted. recover() finishes or undoes what an install cut short left: it
// moves back only folders that carry the mark of the journal's install, puts back whatever is set
// aside where its place is free, and deletes only what a committed journal names.
//
// A link in place of the installer's own folders or journal is never followed: it is removed
// itself.
class MapInstaller
{
public:
    // The download and set-aside folders are the ones InstalledMaps names inside `mapsFolder`.
    explicit MapInstaller(const QString &mapsFolder);

    struct Recovery
    {
        // Nothing is left set aside and no journal remains; false also when the maps folder is
        // unknown.
        bool settled = false;
        // What could not be put back, left where it is, by full path.
        QStringList kept;
    };

    enum class Outcome
    {
        Installed,
        // The download holds no folder that the plan installs; nothing was touched.
        NothingToInstall,
        // `failedFolder` could not be moved.
        NotMoved,
        // The disk did not take the new map or the journal.
        NotWritten,
        // The thread was asked to stop before anything moved.
        Interrupted,
        // The maps folder is unknown, or an earlier install left maps that could not be put back.
        Refused,
    };

    struct Result
    {
        Outcome outcome = Outcome::Refused;
        // The folder, by name, that could not be moved or written.
        QString failedFolder;
        // When not installed: what could not be put back, by full path. Empty when the installed
        // maps are as they were before the call.
        QStringList kept;
    };

    // Carries out `plan`. The whole new map is synced to the disk first, which takes as long as
    // writing it out: call this off the GUI thread. A request to interrupt the thread is heeded
    // until the first move. On success the download folder is gone.
    Result install(const MapInstallPlan &plan);

    // Settles what an interrupted install left: uncommitted moves are undone, committed ones
    // cleaned up. Quick unless there is something to put back.
    Recovery recover();

    // Tests replace the rename to make a move fail, or to stop the install dead as a crash would.
    enum class Step
    {
        Go,
        Fail,
        Crash,
    };
    using StepHook = std::function<Step(const QString &from, const QString &to)>;
    static void setStepHook(StepHook hook);

private:
    enum class Written
    {
        Yes,
        No,
        Stopped,
    };

    bool journal(const QJsonArray &entry);
    Step move(const QString &from, const QString &to);
    Written makeDurable(const QString &folder) const;
    QStringList adoptOlderSetAside() const;
    QStringList putBack(const QString &aside, const QString &place, const QStringList &named,
                        QSet<QString> &changed) const;
    QString setAsideFolder() const;
    QString journalPath() const;

    QString m_mapsFolder;
    QString m_downloadFolder;
};
