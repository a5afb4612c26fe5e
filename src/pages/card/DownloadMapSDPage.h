#pragma once

#include "copier/FileCopier.h"
#include "download/DownloadPage.h"

#include <memory>

class CardSafetyCopy;

// Brings the current card's map to the card: downloads the image into the program's own cache
// folder, verifies it, copies it onto the card, reads the copy back from the card to verify it
// there, has it synced to the card, reports the transfer and moves on to EjectSDPage. The
// download is deleted when the page goes: after the transfer, or when the user gives up.
//
// The old map is never lost to a failed copy. While the card has room for both, the new image is
// written beside it under a name the GPS does not load, verified, and only then swapped in. A
// card without that room is overwritten in place, once a safety copy of its map is on the
// computer and checked (CardSafetyCopy), which is put back on any failure; without room on the
// computer for that copy the user is asked first, NO being the default.
class DownloadMapSDPage : public DownloadPage
{
    Q_OBJECT

public:
    explicit DownloadMapSDPage(QWidget *parent = nullptr);
    ~DownloadMapSDPage() override;

    // Whether a file system of this type (as the platform names it) can hold a file this large:
    // the FAT family stops 1 byte short of 4 GiB.
    static bool fileSystemHolds(const QString &fileSystemType, qint64 bytes);

protected:
    QUrl downloadUrl() const override;
    QString downloadTarget() const override;
    Space checkSpace(qint64 announcedBytes) override;
    PageId pageAfterNo() const override;
    void downloadComplete() override;

protected Q_SLOTS:
    void handleMd5CheckResults(bool ok) override;
    void onCopyProgress(int id, qulonglong bytes);
    void onCopyStateChanged(FileCopier::State state);
    void onCopyDone(bool error);
    void onCopyError(int id, FileCopier::Error error, bool stopped);

private:
    void keepOldImageFirst();
    void copyNewImage(const QString &target);
    void onReadBackResult(bool ok);
    // `corrupt`: what the copy left on the card is no map to keep.
    void transferFailed(const QString &why, bool corrupt);
    void putOldImageBack(const QString &why);
    // Shows `text` over the safety copy's progress and hands its outcome to `done`.
    void follow(const QString &text, std::function<void(bool ok)> done);
    void askToCopyAgain(const QString &text);

    std::unique_ptr<FileCopier> copier;
    qint64 imageSize = 0;
    const QString m_downloadTarget;
    // Where the current copy writes: the partial image, or the card image itself.
    QString m_copyTarget;
    FileCopier::Error m_copyError = FileCopier::NoError;
    // The card's old map on the computer while the new one is written in its place.
    std::unique_ptr<CardSafetyCopy> m_safetyCopy;
};
