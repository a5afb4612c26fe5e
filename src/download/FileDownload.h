#pragma once

#include "download/DownloadEstimate.h"
#include "download/PartialDownload.h"

#include <QBasicTimer>
#include <QFile>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QUrl>

class QNetworkReply;
class QNetworkRequest;

// Fetches one file over HTTP(S) the way every download page does: a HEAD request for the size,
// then attempts of a streamed GET written to disk as the data arrives, with a once-a-second status
// (megabytes, time left) and a stall watchdog. It knows nothing of pages or pop-ups: it reports
// through signals, and the page decides what the user sees and whether to try again.
//
// Every request that gets no answer at all (no header, no byte) within the answer time fails like
// any other, and so does an attempt without a new byte for the stall time. Each attempt fails or
// finishes exactly once; replies of earlier attempts are aborted and can no longer report.
//
// An attempt continues the file where an earlier one left it, in this run or an earlier one
// (PartialDownload keeps it with its record), when the server serves byte ranges of the same
// version of the file: a Range request with If-Range. Whatever the server answers that is not the
// rest of that file starts it over from byte 0. The checksum still judges the whole file.
class FileDownload : public QObject
{
    Q_OBJECT

public:
    struct Timing
    {
        int tickMs = 1000;
        int stallMs = 60000;
        int answerMs = 60000;
    };
    // Tests shorten the times; the program uses the defaults.
    static void setTiming(const Timing &timing);
    static Timing timing();

    explicit FileDownload(QObject *parent = nullptr);
    // Aborts what is still in flight, so no reply goes on filling memory for nobody.
    ~FileDownload() override;

    void setUrl(const QUrl &url) { m_url = url; }
    void setTargetPath(const QString &path) { m_targetPath = path; }
    QString targetPath() const { return m_targetPath; }

    // Sends the HEAD request; answers with sizeKnown() or sizeQueryFailed(). The answer also
    // tells whether the server serves ranges, and of which version of the file.
    void askFileSize();
    // Starts a new attempt, aborting earlier replies: it continues the target file when it can,
    // else starts it from byte 0. Answers with finished() or failed().
    void start();
    // Whether start() would continue the target file, as far as the size query and earlier
    // attempts tell.
    bool canContinue() const;

    // Of the whole file, the bytes an attempt continued from included.
    qint64 bytesReceived() const { return m_bytesReceived; }
    // Where the current attempt continued the file; 0 when it began at the start.
    qint64 resumedFrom() const { return m_from; }

Q_SIGNALS:
    // The announced size in bytes; 0 when the server announced none.
    void sizeKnown(qint64 bytes);
    void sizeQueryFailed(const QString &errorText);
    // The share received so far, as a whole percentage, whenever it changes; only when the server
    // announced the size.
    void progressChanged(int percent);
    // Once a second while data flows, and while it should.
    void statusChanged(const QString &downloaded, const QString &timeLeft);
    void finished();
    void failed(const QString &reason);

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    void onFileSizeReply(QNetworkReply *reply);
    void onReplyError(QNetworkReply *reply);
    void onHeaders(QNetworkReply *reply);
    void onNetworkReadyRead(QNetworkReply *reply);
    void onNetworkDownloadFinished(QNetworkReply *reply);
    void onNetworkDownloadError(QNetworkReply *reply);
    // Writes what the reply holds to the file; false when the disk takes less.
    bool writeArrived(QNetworkReply *reply);

    QNetworkRequest newRequest() const;
    QNetworkReply *send(const QNetworkRequest &request, bool headOnly);
    void sendGet(qint64 from);
    void learnVersion(QNetworkReply *reply);
    void answered();
    void startTicking();
    void onProgressTick();
    void onStall();
    void failAttempt(const QString &reason);
    void stopTimers();
    void dropReply(QNetworkReply *reply);
    QString errorText(QNetworkReply *reply) const;

    QUrl m_url;
    QString m_targetPath;
    QFile m_file;
    QBasicTimer m_progressTimer;
    QBasicTimer m_stallTimer;
    // Runs from a request's sending until its first sign of life.
    QBasicTimer m_answerTimer;
    QPointer<QNetworkReply> m_sizeReply;
    QPointer<QNetworkReply> m_currentReply;
    bool m_timedOut = false;
    // What the server said of the file: the validator of its version, and whether it serves
    // byte ranges.
    QString m_validator;
    bool m_acceptsRanges = false;
    qint64 m_from = 0;
    qint64 m_bytesReceived = 0;
    qint64 m_bytesTotal = 0;
    int m_percent = -1;
    DownloadEstimate m_estimate;
    PartialDownload m_partial;
    int m_ticksSinceSave = 0;
};
