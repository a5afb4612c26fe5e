#pragma once

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

    // Bytes the current user may still write on the volume that holds `path`. The path need not
    // exist yet: the nearest existing folder above it stands for it. -1 when nothing is known.
    virtual qint64 bytesAvailable(const QString &path) const;
    // Deletes the folder `path` with everything in it, going on past what cannot be removed.
    // True when nothing of it is left; a folder that does not exist counts as removed. A link to
    // a folder is removed itself, never what it points at. Called from worker threads too.
    virtual bool removeFolder(const QString &path);

protected:
    Platform() = default;

    // Calls `done` from the event loop unless `context` has gone by then.
    static void finishLater(QObject *context, std::function<void()> done);
};

// The platform of the system the program was built for.
std::unique_ptr<Platform> createNativePlatform();
