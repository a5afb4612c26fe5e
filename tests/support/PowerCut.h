#pragma once

#include "maps/MapInstaller.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

#include <optional>

class FakePlatform;

// A power cut in the middle of a computer map install, as a file system with ordered changes
// leaves it. While it exists it follows the install through the platform's syncs and the
// installer's moves, and stops the install dead before move `cutBefore`. cut() then puts on the
// disk only what a real cut keeps: each file as it was when last synced (a file never synced is
// empty; one made during the install is gone unless its folder was synced after it was made), and
// of the moves made since the last folder sync only the first `keptMoves`.
class PowerCut
{
public:
    // What is below `root` now is on the disk, except the contents of the files below `unsynced`
    // (just unpacked).
    PowerCut(FakePlatform &platform, const QString &root, const QString &unsynced, int cutBefore);
    ~PowerCut();

    bool reached() const { return m_reached; }
    // Moves made since the last folder sync: those a cut may take back.
    int unsettledMoves() const;
    void cut(int keptMoves);

private:
    struct File
    {
        QByteArray data;
        bool entryOnDisk = false;
    };
    struct Move
    {
        QString from;
        QString to;
        bool settled = false;
    };

    MapInstaller::Step onStep(const QString &from, const QString &to);
    void onSync(const QString &path, bool folder);
    void confirmMove();
    void follow(const QString &from, const QString &to);

    FakePlatform &m_platform;
    QString m_root;
    int m_cutBefore;
    int m_steps = 0;
    bool m_reached = false;
    // By where each file is now.
    QMap<QString, File> m_files;
    QList<Move> m_moves;
    // Asked for; made once its source is gone and its target there.
    std::optional<Move> m_asked;
};
