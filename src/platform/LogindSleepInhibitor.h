#pragma once

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>

class QDBusPendingCallWatcher;

// Keeps a Linux computer awake through logind: an inhibitor lock for "sleep:idle" is held for as
// long as we keep the file descriptor logind hands back. The call is made asynchronously so a
// slow bus never stalls the window; without a system bus the lock is silently absent.
class LogindSleepInhibitor
{
public:
    explicit LogindSleepInhibitor(QDBusConnection bus = QDBusConnection::systemBus());
    ~LogindSleepInhibitor();

    void acquire();
    void release();

    // True while logind's lock is actually held (the reply has arrived and was kept).
    bool isHeld() const;

private:
    QDBusConnection m_bus;
    QDBusUnixFileDescriptor m_lock;
    QDBusPendingCallWatcher *m_pending = nullptr;
    bool m_wanted = false;
};
