#pragma once

#include "copier/FileCopier.h"
#include "download/DownloadPage.h"

#include <memory>

// Brings the current card's map to the card: downloads the image into the temporary folder,
// verifies it, copies it onto the card, reads the copy back from the card to verify it there,
// reports the transfer and moves on to EjectSDPage.
//
// The old map is never lost to a failed copy while the card has room for both: the new image is
// written beside it under a name the GPS does not load, verified, and only then swapped in. A
// card without that room is overwritten in place.
class DownloadMapSDPage : public DownloadPage
{
    Q_OBJECT

public:
    explicit DownloadMapSDPage(QWidget *parent = nullptr);
    ~DownloadMapSDPage() override;

    // Whether a file system of this type (as the platform names it) can hold a file this large:
    // the FAT family stops 1 byte short of 4 GiB.
    static bool fileSystemHolds(const QString &fileSystemType, qint64 bytes);
    // The image beside the old one while it is written and checked.
    static QString partialImagePath(const QString &cardRoot);

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
    void onReadBackResult(bool ok);
    bool swapInNewImage();
    void askToCopyAgain(const QString &text);

    std::unique_ptr<FileCopier> copier;
    qint64 imageSize = 0;
    // Where the current copy writes: the partial image, or the card image itself.
    QString m_copyTarget;
    FileCopier::Error m_copyError = FileCopier::NoError;
};
