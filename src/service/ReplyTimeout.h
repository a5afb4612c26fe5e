#pragma once

#include <QBasicTimer>
#include <QObject>

class QNetworkReply;

// Aborts a reply that has not completed within a given time; the abort then reaches the reply's
// own errorOccurred and finished handlers like any other failure. It is a child of the reply it
// watches, so it lives and dies with it.
class ReplyTimeout : public QObject
{
    Q_OBJECT

public:
    static void set(QNetworkReply *reply, int milliseconds);

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    explicit ReplyTimeout(QNetworkReply *reply);

    QBasicTimer m_timer;
};
