#pragma once

#include "platform/platform.h"

#include <QString>
#include <QStringList>

#include <condition_variable>
#include <mutex>

// The tour's stand-in for the operating system: the computer is never kept awake, nothing is
// started or closed, and Windows' drive C: is a folder of the tour's sandbox, where a route can
// install or remove a Garmin BaseCamp of a given version. Folder removals can be held, so that a
// page at work can be pictured, and refused, as if a program had a file open in the folder.
class TourPlatform : public Platform
{
public:
    TourPlatform();
    ~TourPlatform() override;

    // Puts BaseCamp.exe of `version` into the Garmin program folder; an empty version removes
    // it, so BaseCamp counts as missing.
    bool setBaseCamp(const QVersionNumber &version);

    void preventSleep() override {}
    void allowSleep() override {}
    std::optional<QVersionNumber> executableFileVersion(const QString &path) const override;
    void closeBaseCamp(QObject *context, std::function<void()> done) override;
    void writeBaseCampDetail(QObject *context, std::function<void()> done) override;
    bool startDetached(const QString &program) override;
    QString nativePath(const QString &windowsPath) const override;
    // No room at all for the next `lowSpaceAnswers` questions, nor ever in `fullFolders`; else
    // the real volume's figure.
    qint64 bytesAvailable(const QString &path) const override;

    mutable int lowSpaceAnswers = 0;
    QStringList fullFolders;
    // The card in the reader, when there is one.
    QList<Volume> mountedVolumes() const override;
    bool isRemovableDrive(const QString &) const override { return true; }
    // A card is known by its folder's name.
    QString volumeIdentity(const QString &rootPath) const override;
    // Reads as slowly as a card reader, so that the check of a copy can be pictured.
    bool readFromMedium(const QString &path,
                        const std::function<bool(QByteArrayView)> &consume) const override;
    // Puts a card into the reader: a folder of the sandbox (see TourSandbox::makeCard), with the
    // file system given.
    void insertCard(const QString &root, const QString &fileSystemType = QStringLiteral("exfat"));
    std::optional<Volume> card;
    // From now on every write to a card fails, or no longer does.
    void setCardWritesFail(bool fail);
    // The next `count` files written onto a card fail, as on a card pulled out halfway.
    void failCardFiles(int count);
    bool removeFolder(const QString &path) override;

    // From now on every removal waits until releaseRemovals().
    void holdRemovals();
    // Runs the event loop until a removal waits, for at most `timeoutMs`.
    void waitForHeldRemoval(int timeoutMs);
    void releaseRemovals();
    // Names of the folders whose removal fails; set before any removal starts.
    QStringList protectedFolders;

private:
    QString baseCampExecutable() const;

    QString m_driveC;
    QVersionNumber m_baseCampVersion;
    // Removals run on the uninstall worker's thread.
    std::mutex m_removalMutex;
    std::condition_variable m_removalReleased;
    bool m_removalsHeld = false;
    bool m_removalWaiting = false;
};
