#pragma once

#include "platform/platform.h"

#include <QHash>
#include <QMutex>
#include <QPointer>
#include <QStringList>

// Stands in for the operating system: records what the program asked of it and answers from
// what the test set up. Installed for its lifetime.
class FakePlatform : public Platform
{
public:
    FakePlatform();
    ~FakePlatform() override { Platform::setInstance(nullptr); }

    void preventSleep() override;
    void allowSleep() override;

    // A version from `fileVersions` when the test gave the path one; otherwise the file's own
    // version resource, read as on Linux.
    std::optional<QVersionNumber> executableFileVersion(const QString &path) const override;
    // Both record the call and report back from the event loop, like the real ones.
    void closeBaseCamp(QObject *context, std::function<void()> done) override;
    void writeBaseCampDetail(QObject *context, std::function<void()> done) override;
    // Records the program; nothing is started.
    bool startDetached(const QString &program) override;
    // "C:/..." lies in `driveC`; other paths are returned as they are.
    QString nativePath(const QString &windowsPath) const override;
    // From `freeBytesAt` for a path named there, else `freeBytes` when the test set it; otherwise
    // what the real volume has.
    qint64 bytesAvailable(const QString &path) const override;
    // Fails, deleting nothing, for a folder named in `undeletableFolders`, as for a folder with a
    // file open in it; removes the others for real.
    bool removeFolder(const QString &path) override;

    QList<Volume> mountedVolumes() const override;
    // Every volume but those in `fixedDrives`.
    bool isRemovableDrive(const QString &rootPath) const override;
    // From `volumeIds`.
    QString volumeIdentity(const QString &rootPath) const override;
    // Synced for real, and recorded.
    bool syncFolder(const QString &path) override;
    QStringList syncedFolders() const;
    // The file's real data; with `mediumDiffers`, what a failing card gives back instead.
    bool readFromMedium(const QString &path,
                        const std::function<bool(QByteArrayView)> &consume) const override;

    // A card in a reader: the folder `root` (made if missing) as a valid, ready, writable
    // volume with room to spare, holding a small map image of `familyId` when one is given, and
    // named in `volumeIds` after the folder unless it has an identity already. Returns its entry
    // in `volumes` for the test to change.
    Volume &insertCard(const QString &root, std::optional<int> familyId = {},
                       const QString &name = {});
    void removeCard(const QString &root);

    bool keptAwake = false;
    // How many times the computer was let sleep again.
    int sleepsAllowed = 0;
    std::optional<qint64> freeBytes;
    QHash<QString, qint64> freeBytesAt;
    // Every path whose free space was asked, in order.
    mutable QStringList spaceQueries;

    QList<Volume> volumes;
    QStringList fixedDrives;
    // Identities by root path.
    QHash<QString, QString> volumeIds;
    // Reads from the medium return other data than was written (the first byte changed).
    bool mediumDiffers = false;
    // Every path read from the medium, in order.
    mutable QStringList mediumReads;

    // Stands for the Windows drive C: (by default "drive_c" in the sandboxed home).
    QString driveC;
    // Versions by native path, for executables that need not exist as real PE files.
    QHash<QString, QVersionNumber> fileVersions;
    // Set before any removal starts: removals run on a worker thread.
    QStringList undeletableFolders;

    // While true, closeBaseCamp() and writeBaseCampDetail() keep their reports until
    // releaseHeldReports(), as if the tools were still running.
    bool holdReports = false;
    // Sends the kept reports, to the contexts that still exist.
    void releaseHeldReports();

    // What was asked of BaseCamp, in order: "closeBaseCamp", "writeBaseCampDetail".
    QStringList calls;
    QStringList startedPrograms;

private:
    void report(QObject *context, std::function<void()> done);

    QList<std::pair<QPointer<QObject>, std::function<void()>>> m_heldReports;
    // Folders are synced from worker threads too.
    mutable QMutex m_syncMutex;
    QStringList m_syncedFolders;
};
