#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QVersionNumber>

#include <functional>
#include <memory>
#include <optional>

class QObject;

// Everything the program asks of the operating system goes through this one interface, with one
// implementation per system (platform_win.cpp, platform_linux.cpp). Tests install a fake with
// setInstance(), so no test touches the real machine's power state, processes or drives.
class Platform
{
public:
    // A mounted file system, as the card pages see it.
    struct Volume
    {
        // As the system names it: "E:/" on Windows, the mount point on Linux.
        QString rootPath;
        QString name;
        bool valid = false;
        bool ready = false;
        bool readOnly = false;
        qint64 bytesAvailable = -1;
        // "FAT32" on Windows, "vfat" on Linux, and so on.
        QString fileSystemType;
    };

    virtual ~Platform() = default;

    // The platform in use: the native one unless a test has installed its own.
    static Platform *instance();
    // Installs `platform` (owned by the caller) in place of the native one; nullptr restores it.
    static void setInstance(Platform *platform);

    // Keeps the computer from sleeping until allowSleep(). Calls are not counted: one
    // allowSleep() ends any number of preventSleep() calls. GUI thread only.
    virtual void preventSleep() = 0;
    virtual void allowSleep() = 0;

    // The file version of a Windows executable as major.minor.build, read from its version
    // resource; the fourth, lowest word is left out. Nothing when the file has no readable
    // version resource. `path` is a path of this system (see nativePath()).
    virtual std::optional<QVersionNumber> executableFileVersion(const QString &path) const = 0;

    // Closes Garmin BaseCamp if it runs. Neither this nor writeBaseCampDetail() blocks the window:
    // `done` is called once, from the event loop, when the attempt is over (whether it worked is
    // deliberately not reported), unless `context` (never null) has been destroyed by then.
    virtual void closeBaseCamp(QObject *context, std::function<void()> done) = 0;

    // Sets BaseCamp's "Detail" setting (HKCU "Software\Garmin\BaseCamp\Settings", REG_BINARY
    // 07 00 00 00) when that key exists; a missing key is not created. Called like
    // closeBaseCamp().
    virtual void writeBaseCampDetail(QObject *context, std::function<void()> done) = 0;

    // Starts a program detached, without arguments, and does not watch it. `program` may be
    // wrapped in double quotes and may be a Windows path such as "C:/Program Files/...".
    // False when it could not be started.
    virtual bool startDetached(const QString &program) = 0;

    // Where a Windows path such as "C:/Program Files (x86)/Garmin/..." lives on this system.
    // Paths without a drive letter are returned as they are.
    virtual QString nativePath(const QString &windowsPath) const = 0;

    // The current user's roaming application-data folder as the Windows programs of this system
    // (Garmin's among them) see it, when that is not this program's own location: on Linux with
    // Wine installed, the one in the Wine prefix, made or still to be made. Empty when there is
    // no such other folder.
    virtual QString windowsProgramsDataFolder() const;

    // Bytes the current user may still write on the volume that holds `path`. The path need not
    // exist yet: the nearest existing folder above it stands for it. -1 when nothing is known.
    virtual qint64 bytesAvailable(const QString &path) const;
    // Deletes the folder `path` with everything in it, going on past what cannot be removed.
    // True when nothing of it is left; a folder that does not exist counts as removed. A link to
    // a folder is removed itself, never what it points at. Called from worker threads too.
    virtual bool removeFolder(const QString &path);

    // Durability. When syncFile() returns true, what was written to the file at `path` is on the
    // medium, not only in the system's memory, so a power cut or a pulled card cannot take it
    // back; syncFolder() does the same for the entries of the folder at `path` (what was made,
    // renamed or removed in it). False when the system reports that it could not. Links are not
    // followed. Called from worker threads too.
    virtual bool syncFile(const QString &path);
    virtual bool syncFolder(const QString &path);
    // How this system's file systems compare file names: without regard to letter case on
    // Windows, exactly on Linux. Two names that compare equal name one file.
    static Qt::CaseSensitivity fileNameCase();

    // Every mounted volume, in the system's order.
    virtual QList<Volume> mountedVolumes() const;
    // The mounted volume whose root path is exactly `rootPath`, if any.
    std::optional<Volume> mountedVolume(const QString &rootPath) const;
    // The root paths of the mounted volumes that hold any of `paths`, each taken both as given
    // and with its links resolved (as far as it exists).
    QStringList volumesHolding(const QStringList &paths) const;
    // The root among `roots` of the volume that holds `path`: the longest that is `path` itself
    // or a folder above it; empty when none is. Letter case is ignored, which errs on the side of
    // a match.
    static QString volumeHolding(const QString &path, const QStringList &roots);
    // What tells one volume from another wherever it is mounted: its file system's serial number
    // or UUID, as the system reports it. Empty when the system does not tell.
    virtual QString volumeIdentity(const QString &rootPath) const;
    // Whether the drive at `rootPath` can hold a preprogrammed card: removable media, or a disk
    // attached through USB (card readers often present their media as fixed disks).
    virtual bool isRemovableDrive(const QString &rootPath) const = 0;
    // Reads the file at `path` from start to end in blocks, handing each to `consume`, which
    // returns false to stop early. The data comes from the medium itself rather than from what
    // the system still holds in memory from writing it, as far as the system allows: what is
    // checked after a copy to a card is then what the card holds. False on a read error or
    // when `consume` stopped. Called from worker threads.
    virtual bool readFromMedium(const QString &path,
                                const std::function<bool(QByteArrayView)> &consume) const;

    // Reads `path` like readFromMedium(), but through the system's cache.
    static bool readFile(const QString &path, const std::function<bool(QByteArrayView)> &consume);

protected:
    Platform() = default;

    // Calls `done` from the event loop unless `context` has gone by then.
    static void finishLater(QObject *context, std::function<void()> done);
};

// The platform of the system the program was built for.
std::unique_ptr<Platform> createNativePlatform();
