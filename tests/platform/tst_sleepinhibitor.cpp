#include "TestMain.h"
#include "platform/LogindSleepInhibitor.h"

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QProcess>
#include <QStandardPaths>

#include <poll.h>
#include <unistd.h>

namespace {
// Plays logind on a private bus: every Inhibit call gets the write end of a fresh pipe, and the
// test watches the read end to see when the program lets go of its copy.
class FakeLogind : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    ~FakeLogind() override
    {
        for (int fd : readEnds) {
            ::close(fd);
        }
    }

    QList<int> readEnds;
    QStringList lastArguments;

public Q_SLOTS:
    QDBusUnixFileDescriptor Inhibit(const QString &what, const QString &who, const QString &why,
                                    const QString &mode)
    {
        lastArguments = {what, who, why, mode};
        int fds[2];
        if (::pipe(fds) != 0) {
            return {};
        }
        readEnds.append(fds[0]);
        QDBusUnixFileDescriptor writeEnd(fds[1]); // keeps its own duplicate
        ::close(fds[1]);
        return writeEnd;
    }
};

// True once every holder of the pipe's write end has closed it.
bool released(int readEnd)
{
    pollfd pfd{readEnd, POLLIN, 0};
    return ::poll(&pfd, 1, 0) == 1 && (pfd.revents & POLLHUP);
}
} // namespace

class TestSleepInhibitor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void lockFollowsAcquireAndRelease();

private:
    QProcess m_daemon;
    QString m_address;
    FakeLogind m_logind;
};

void TestSleepInhibitor::initTestCase()
{
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty()) {
        QSKIP("dbus-daemon is not installed");
    }
    m_daemon.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                            QStringLiteral("--print-address=1")});
    QVERIFY(m_daemon.waitForStarted());
    QTRY_VERIFY(m_daemon.canReadLine());
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    QDBusConnection service = QDBusConnection::connectToBus(m_address, QStringLiteral("service"));
    QVERIFY(service.registerObject(QStringLiteral("/org/freedesktop/login1"), &m_logind,
                                   QDBusConnection::ExportAllSlots));
    QVERIFY(service.registerService(QStringLiteral("org.freedesktop.login1")));
}

void TestSleepInhibitor::cleanupTestCase()
{
    QDBusConnection::disconnectFromBus(QStringLiteral("client"));
    QDBusConnection::disconnectFromBus(QStringLiteral("service"));
    m_daemon.terminate();
    m_daemon.waitForFinished();
}

void TestSleepInhibitor::lockFollowsAcquireAndRelease()
{
    const QDBusConnection client = QDBusConnection::connectToBus(m_address, "client");
    LogindSleepInhibitor inhibitor(client);
    inhibitor.acquire();
    inhibitor.acquire();
    QTRY_VERIFY(inhibitor.isHeld());
    inhibitor.acquire();
    // Calls on one connection arrive in order: once a later lock is held, logind has seen every
    // call made before it.
    LogindSleepInhibitor later(client);
    later.acquire();
    QTRY_VERIFY(later.isHeld());
    QCOMPARE(m_logind.readEnds.size(), 2);
    QCOMPARE(m_logind.lastArguments.at(0), QStringLiteral("sleep:idle"));
    QCOMPARE(m_logind.lastArguments.at(3), QStringLiteral("block"));

    // Logind keeps the lock while any copy of the descriptor is open. Requests are not counted:
    // one release ends them all.
    QVERIFY(!released(m_logind.readEnds.first()));
    inhibitor.release();
    QVERIFY(!inhibitor.isHeld());
    QVERIFY(released(m_logind.readEnds.first()));

    // A release while the reply is on its way drops the lock when it comes.
    inhibitor.acquire();
    inhibitor.release();
    QTRY_COMPARE(m_logind.readEnds.size(), 3);
    QTRY_VERIFY(released(m_logind.readEnds.last()));
    QVERIFY(!inhibitor.isHeld());
}

HALVORNSYNC_TEST_MAIN(TestSleepInhibitor)
#include "tst_sleepinhibitor.moc"
