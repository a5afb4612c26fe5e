#include "service/ReplyTimeout.h"

#include <QNetworkReply>
#include <QTimerEvent>

ReplyTimeout::ReplyTimeout(QNetworkReply *reply)
    : QObject(reply)
{
}

void ReplyTimeout::set(QNetworkReply *reply, int milliseconds)
{
    // Without a reply there would be no parent to take the watcher down with it.
    if (!reply) {
        return;
    }
    auto *timeout = new ReplyTimeout(reply);
    if (reply->isRunning()) {
        timeout->m_timer.start(milliseconds, timeout);
    }
}

void ReplyTimeout::timerEvent(QTimerEvent *event)
{
    if (!m_timer.isActive() || event->timerId() != m_timer.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    auto *reply = static_cast<QNetworkReply *>(parent());
    if (reply->isRunning()) {
        reply->abort();
    }
    m_timer.stop();
}
