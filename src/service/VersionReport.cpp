#include "service/VersionReport.h"

#include "service/ReplyTimeout.h"
#include "service/ServiceContext.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

VersionReport::VersionReport(const QUrl &url, Repeat repeat, int timeoutMs)
    : QObject(ServiceContext::networkManager())
    , m_url(url)
    , m_repeat(repeat)
    , m_timeoutMs(timeoutMs)
{
}

QString VersionReport::failureMessage()
{
    return tr("Updating new map version information failed.");
}

void VersionReport::send()
{
    sendOnce();
}

void VersionReport::sendOnce()
{
    QNetworkAccessManager *manager = ServiceContext::networkManager();
    if (!manager) {
        deleteWhenIdle();
        return;
    }
    QNetworkReply *reply = manager->get(QNetworkRequest(m_url));
    ++m_sent;
    ++m_running;
    if (m_timeoutMs > 0) {
        ReplyTimeout::set(reply, m_timeoutMs);
    }
    ReplyTimeout::abortWhenSilent(reply);
    connect(reply, &QNetworkReply::errorOccurred, this, [this, reply] { onErrorOccurred(reply); });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onFinished(reply); });
}

void VersionReport::onErrorOccurred(QNetworkReply *reply)
{
    // One message per failed reply, even if the network stack reports it twice.
    if (reply->property("halvornsync_failureShown").toBool()) {
        return;
    }
    reply->setProperty("halvornsync_failureShown", true);

    ++m_activeHandlers;
    const bool repeat = m_repeat == Repeat::OnceAfterFailure && m_sent < 2;
    // Counted as running already, so a reply that ends while a receiver's pop-up is open cannot
    // make the report look finished.
    if (repeat) {
        ++m_running;
    }
    Q_EMIT failed();
    if (repeat) {
        --m_running;
        sendOnce();
    }
    --m_activeHandlers;
    deleteWhenIdle();
}

void VersionReport::onFinished(QNetworkReply *reply)
{
    ++m_activeHandlers;
    --m_running;
    reply->deleteLater();
    if (!m_firstEnded) {
        m_firstEnded = true;
        Q_EMIT firstReplyEnded();
    }
    --m_activeHandlers;
    deleteWhenIdle();
}

void VersionReport::deleteWhenIdle()
{
    if (m_running == 0 && m_activeHandlers == 0) {
        deleteLater();
    }
}
