#include "platform/LogindSleepInhibitor.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

LogindSleepInhibitor::LogindSleepInhibitor(QDBusConnection bus)
    : m_bus(std::move(bus))
{
}

LogindSleepInhibitor::~LogindSleepInhibitor()
{
    delete m_pending;
}

void LogindSleepInhibitor::acquire()
{
    m_wanted = true;
    if (m_lock.isValid() || m_pending || !m_bus.isConnected()) {
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep:idle") << QStringLiteral("HalvornSync")
         << QStringLiteral("Downloading or copying maps") << QStringLiteral("block");
    m_pending = new QDBusPendingCallWatcher(m_bus.asyncCall(call));
    QObject::connect(m_pending, &QDBusPendingCallWatcher::finished, m_pending,
                     [this](QDBusPendingCallWatcher *watcher) {
                         const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *watcher;
                         // A release that came while the call was on its way wins: the
                         // descriptor is dropped at once, which ends the lock.
                         if (m_wanted && reply.isValid()) {
                             m_lock = reply.value();
                         }
                         m_pending = nullptr;
                         watcher->deleteLater();
                     });
}

void LogindSleepInhibitor::release()
{
    m_wanted = false;
    // Closing our copy of the descriptor is how logind's lock is given back.
    m_lock = QDBusUnixFileDescriptor();
}

bool LogindSleepInhibitor::isHeld() const
{
    return m_lock.isValid();
}
