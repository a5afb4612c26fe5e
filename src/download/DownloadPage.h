#pragma once

#include "app/PageId.h"
#include "download/CheckMd5Worker.h"

#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>

namespace Ui {
class DownloadPage;
}
class FileDownload;
class QProgressBar;

// What every download page has in common: the form (picture, what is going on, progress bar, the
// megabytes and the time left), the download procedure with its messages and retry prompt, the
// keep-awake while data flows, and the checksum step. A page only supplies its own values and
// what follows a complete download.
//
// The procedure: 150 ms after the page appears, AskFileSize() asks the size (a product with
// nothing to download goes straight to pageAfterNo(); an address that is not http or https is
// refused, and nothing is fetched); a failed query, or too little room, asks "try again?" with
// the network's error or the page's space message (the page may leave instead): YES asks the
// size again, NO leaves for pageAfterNo(); then Download() runs attempts until one completes. A
// failed attempt asks "try again?": YES starts a new attempt, which continues the file where the
// server allows it (see FileDownload), NO leaves for the page's pageAfterNo(), keeping the partial
// file for a later run. A file judged corrupt is never continued. No question traps the user: each
// has its way out. Every question runs its own event loop, in which the page may be replaced: then
// nothing follows from the answer.
class DownloadPage : public QWidget
{
    Q_OBJECT

public:
    ~DownloadPage() override;

protected:
    enum class Space
    {
        Enough,
        Left, // the page has said why there is no room, and the answer decides what follows
    };

    // `objectName` is the page's class name; `picture` its illustration; `infoText` what the page
    // says while it downloads.
    DownloadPage(const QString &objectName, const QString &picture, const QString &infoText,
                 QWidget *parent = nullptr);

    virtual QUrl downloadUrl() const = 0;
    virtual QString downloadTarget() const = 0;
    virtual Space checkSpace(qint64 announcedBytes) = 0;
    virtual QString failureText() const;
    virtual PageId pageAfterNo() const = 0;
    // Runs before every attempt; false stops the attempt (the page has said why).
    virtual bool prepareAttempt() { return true; }
    virtual void downloadComplete() = 0;
    // What the page does first, 150 ms after it appears.
    virtual void firstStep();

    // Free bytes where `path` lives, through the platform layer; -1 when unknown.
    static qint64 bytesAvailable(const QString &path);
    // The room every download page asks for where `path` lives (where what is made of the file
    // goes) and where downloadTarget() is written: three times the announced size on each (the
    // file, what is made of it, and some to spare). Without it, `message` asks whether to
    // try again: YES asks the size again, NO leaves for pageAfterNo(). Room that cannot be known
    // is not held against the user.
    Space requireRoom(const QString &path, qint64 announcedBytes, const QString &message);
    // Shows `message`, with where the support log is, and leaves for `page`, unless the page was
    // replaced meanwhile.
    void leaveWith(const QString &message, PageId page);

    // The info line reads `text` and the bar turns into a busy indicator; the byte and time texts
    // go away.
    void showBusy(const QString &text);
    // The info line reads `text` over a bar at 0 % that showProgress() moves on; the byte and
    // time texts go away.
    void showPercentStep(const QString &text);
    void showProgress(int percent);
    // Checks the download against the announced checksum on a worker thread; the answer arrives
    // in handleMd5CheckResults().
    void verifyDownload(const QString &expectedMd5);
    // Checks `path` against `expectedMd5` on a worker thread that the page stops when it goes;
    // `done` gets the answer.
    void runChecksum(const QString &path, const QString &expectedMd5,
                     CheckMd5Worker::ReadFrom readFrom, std::function<void(bool)> done);
    // The picture, the info line and the bar, for a page that shows them only once the user has
    // taken its offer. The byte and time texts come with the download.
    void setFormVisible(bool visible);
    // Asks `text` as a YES / NO question, letting the computer sleep while the user decides: YES
    // runs `retry` from the event loop, NO leaves for pageAfterNo().
    void offerRetry(const QString &text, std::function<void()> retry);
    // offerRetry() with a new attempt as the retry.
    void offerNewAttempt(const QString &text);
    // Keep-awake on or off; the page lets the computer sleep again when it goes.
    void keepAwake(bool awake);

    FileDownload *download() const { return m_download; }

protected Q_SLOTS:
    void AskFileSize();
    void Download();
    virtual void handleMd5CheckResults(bool ok);

private:
    void onSizeKnown(qint64 bytes);
    void onSizeQueryFailed(const QString &errorText);
    void onStatusChanged(const QString &downloaded, const QString &timeLeft);
    void onDownloadFailed();
    void onDownloadFinished();

    std::unique_ptr<Ui::DownloadPage> ui;
    const QString m_infoText;
    FileDownload *m_download;
    bool m_keptAwake = false;
};
