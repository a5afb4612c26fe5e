#include "service/ReplyTimeout.h"

#include <QNetworkReply>
#include <QTimerEvent>

#include <algorithm>

namespace {
int s_silenceMs = ReplyTimeout::defaultSilenceMs;
}

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

void ReplyTimeout::abortWhenSilent(QNetworkReply *reply)
{
    if (!reply || !reply->isRunning()) {
        return;
    }
    auto *timeout = new ReplyTimeout(reply);
    const int milliseconds = s_silenceMs;
    timeout->m_timer.start(milliseconds, timeout);
    const auto restart = [timeout, milliseconds] {
        if (timeout->m_timer.isActive()) {
            timeout->m_timer.start(milliseconds, timeout);
        }
    };
    connect(reply, &QNetworkReply::metaDataChanged, timeout, restart);
    connect(reply, &QNetworkReply::downloadProgress, timeout, restart);
    connect(reply, &QNetworkReply::uploadProgress, timeout, restart);
}

bool ReplyTimeout::gaveUp(const QNetworkReply *reply)
{
    const auto watchers = reply->findChildren<ReplyTimeout *>(Qt::FindDirectChildrenOnly);
    return std::any_of(watchers.cbegin(), watchers.cend(),
                       [](const ReplyTimeout *watcher) { return watcher->m_gaveUp; });
}

void ReplyTimeout::setSilenceMs(int milliseconds)
{
    s_silenceMs = milliseconds;
}

void ReplyTimeout::timerEvent(QTimerEvent *event)
{
    if (!m_timer.isActive() || event->timerId() != m_timer.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    auto *reply = static_cast<QNetworkReply *>(parent());
    m_timer.stop();
    if (reply->isRunning()) {
        m_gaveUp = true;
        reply->abort();
    }
}
