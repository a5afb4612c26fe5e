#pragma once

#include <QObject>
#include <QUrl>

class QNetworkReply;

// One version report to the vendor's service, owned by the network manager rather than by a page:
// the page that sends it may be replaced while it runs, so the report never refers to it. Every
// failed reply is told (failed); a report that may be repeated is sent once more after its first
// failure. The wizard reacts to the first reply's end only (firstReplyEnded), so a repeat can
// never move it again. The signals come from the event loop, never from send(), so the sender
// may connect to them once it has sent. The object deletes itself once its last reply has ended.
class VersionReport : public QObject
{
    Q_OBJECT

public:
    enum class Repeat
    {
        Never,
        OnceAfterFailure
    };

    // timeoutMs 0 waits as long as the reply makes progress (see ReplyTimeout::abortWhenSilent).
    VersionReport(const QUrl &url, Repeat repeat, int timeoutMs = 0);

    void send();

    static QString failureMessage();

Q_SIGNALS:
    // A reply failed: failureMessage() is the text to show.
    void failed();
    // The first reply has ended, successfully or not. Emitted once.
    void firstReplyEnded();

private:
    void sendOnce();
    void onErrorOccurred(QNetworkReply *reply);
    void onFinished(QNetworkReply *reply);
    void deleteWhenIdle();

    QUrl m_url;
    Repeat m_repeat;
    int m_timeoutMs;
    int m_sent = 0;
    int m_running = 0;
    // Handlers that are still on the stack: a receiver of failed() may run a nested event loop (a
    // pop-up), in which the object must not be deleted under them.
    int m_activeHandlers = 0;
    bool m_firstEnded = false;
};
