#pragma once

#include "FaultyDestinations.h"
#include "platform/platform.h"

#include <QHash>
#include <QMutex>
#include <QPointer>
#include <QSemaphore>
#include <QStringList>

#include <atomic>
#include <memory>

// Stands in for the operating system: records what the program asked of it and answers from
// what the test (or the page tour) set up. Installed for its lifetime.
class FakePlatform : public Platform
{
public:
    FakePlatform();
    ~FakePlatform() override;

    void preventSleep() override;
    void allowSleep() override;

    // The file's own version resource, read as on Linux.
    std::optional<QVersionNumber> executableFileVersion(const QString &path) const override;
    // Puts a BaseCamp.exe of `version` into the Garmin program folder; a null version removes it,
    // so BaseCamp counts as missing.
    bool setBaseCamp(const QVersionNumber &version);
    // Both record the call and report back from the event loop, like the real ones.
    void closeBaseCamp(QObject *context, std::function<void()> done) override;
    void writeBaseCampDetail(QObject *context, std::function<void()> done) override;
    // Records the program; nothing is started.
    bool startDetached(const QString &program) override;
    // "C:/..." lies in `driveC`; other paths are returned as they are.
    QString nativePath(const QString &windowsPath) const override;
    // Nothing for the next `lowSpaceAnswers` questions; then from `freeBytesAt` for a path named
    // there, else `freeBytes` when the test set it; otherwise what the real volume has.
    qint64 bytesAvailable(const QString &path) const override;
    // Waits while removals are held; then fails, deleting nothing, for a folder named in
    // `undeletableFolders`, as for a folder with a file open in it; removes the others for real.
    bool removeFolder(const QString &path) override;

    QList<Volume> mountedVolumes() const override;
    // Every volume but those in `fixedDrives`.
    bool isRemovableDrive(const QString &rootPath) const override;
    // From `volumeIds`.
    QString volumeIdentity(const QString &rootPath) const override;
    // Synced for real, and recorded.
    bool syncFolder(const QString &path) override;
    QStringList syncedFolders() const;
    // The file's real data, each block after `mediumDelayMs`; with `mediumDiffers`, what a
    // failing card gives back instead.
    bool readFromMedium(const QString &path,
                        const std::function<bool(QByteArrayView)> &consume) const override;

    // A card in a reader (the only reader, taking the place of the card there, with
    // `oneReader`): the folder `root` (made if missing) as a valid, ready, writable
    // volume with room to spare, holding a small map image of `familyId` when one is given, and
    // named in `volumeIds` after the folder unless it has an identity already. Returns its entry
    // in `volumes` for the test to change.
    Volume &insertCard(const QString &root, std::optional<int> familyId = {},
                       const QString &name = {});
    void removeCard(const QString &root);
    // Makes the files the copier writes behave like a card's (slow, failing; see
    // FaultyDestinations), from the first call on.
    FaultyDestinations::State &destinations();
    // The next `count` files written onto the card now in the reader fail, as on a card pulled
    // out halfway; -1: every one of them, until called again.
    void failCardFiles(int count);

    bool keptAwake = false;
    // How many times the computer was let sleep again.
    int sleepsAllowed = 0;
    mutable int lowSpaceAnswers = 0;
    std::optional<qint64> freeBytes;
    QHash<QString, qint64> freeBytesAt;
    // Every path whose free space was asked, in order.
    mutable QStringList spaceQueries;

    QList<Volume> volumes;
    bool oneReader = false;
    QStringList fixedDrives;
    // Identities by root path.
    QHash<QString, QString> volumeIds;
    // Reads from the medium return other data than was written (the first byte changed).
    bool mediumDiffers = false;
    // Every path read from the medium, in order.
    mutable QStringList mediumReads;
    int mediumDelayMs = 0;

    // Stands for the Windows drive C: (by default "drive_c" in the sandboxed home).
    QString driveC;
    // Set before any removal starts: removals run on a worker thread.
    QStringList undeletableFolders;
    // From now on every removal waits until releaseRemovals().
    void holdRemovals();
    // Runs the event loop until a removal waits, for at most `timeoutMs`.
    void waitForHeldRemoval(int timeoutMs);
    void releaseRemovals();

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
    std::unique_ptr<FaultyDestinations> m_destinations;
    std::atomic<bool> m_removalsHeld = false;
    std::atomic<int> m_heldRemovals = 0;
    QSemaphore m_removalsReleased;
};
