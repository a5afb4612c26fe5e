#pragma once

#include <QBasicTimer>
#include <QObject>

class QNetworkReply;

// Aborts a reply that has not completed within a given time, or, watching for silence, one that
// has made no progress (no connection, no header, no byte) for that long; the abort then reaches
// the reply's own errorOccurred and finished handlers like any other failure. It is a child of the
// reply it watches, so it lives and dies with it.
class ReplyTimeout : public QObject
{
    Q_OBJECT

public:
    static void set(QNetworkReply *reply, int milliseconds);

    // Every request to the service that the wizard waits on is watched so: a service that takes
    // the connection and then says nothing, or stops in the middle of its answer, would otherwise
    // leave the wizard waiting for good.
    static void abortWhenSilent(QNetworkReply *reply);
    // True when a watcher of `reply` aborted it.
    static bool gaveUp(const QNetworkReply *reply);

    static constexpr int defaultSilenceMs = 30000;
    // Tests shorten the wait for a silent service; the program always uses the default.
    static void setSilenceMs(int milliseconds);

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    explicit ReplyTimeout(QNetworkReply *reply);

    QBasicTimer m_timer;
    bool m_gaveUp = false;
};
