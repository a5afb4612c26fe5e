#pragma once

#include "maps/MapInstallPlan.h"

#include <QString>

#include <functional>

class QJsonArray;

// Puts a downloaded computer map into the Garmin maps folder in place of the maps it supersedes,
// so that the user ends with the old map or the new one, never neither.
//
// Superseded folders are not deleted first: they are moved aside into the download folder (the
// same volume, so every move is a rename), then the new folders are moved in. If any move fails,
// every folder is put back where it was. Each move is written to a journal in the download folder
// before it is made, so an install cut short by a crash or a power cut is undone by recover() on
// the next run. Only when every new folder is in place is the install committed and the old
// folders deleted with the download folder.
class MapInstaller
{
public:
    // The download folder is the one InstalledMaps names inside `mapsFolder`.
    explicit MapInstaller(const QString &mapsFolder);

    struct Result
    {
        bool installed = false;
        // The folder whose move failed, by name, when not installed.
        QString failedFolder;
    };

    // Carries out `plan`. On success the download folder is gone; on failure everything is as it
    // was before the call, except that dropped folders are gone from the download folder.
    Result install(const MapInstallPlan &plan);

    // Undoes what an interrupted install left: uncommitted moves are reversed, committed ones are
    // cleaned up. True when nothing is left set aside, so the download folder may be deleted.
    // Refuses (false) when the maps folder is unknown.
    bool recover();

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
    bool journal(const QJsonArray &entry);
    Step move(const QString &from, const QString &to);
    QString setAsideFolder() const;
    QString journalPath() const;
    static bool isInside(const QString &path, const QString &folder);

    QString m_mapsFolder;
    QString m_downloadFolder;
};
