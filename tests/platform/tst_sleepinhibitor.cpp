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
    void init();
    void cleanup();

    void lockIsHeldUntilReleased();
    void repeatedRequestsShareOneLock();
    void releaseBeforeTheReplyDropsTheLock();
    void withoutLogindNothingIsHeld();
    void withoutABusNothingHappens();

private:
    QProcess m_daemon;
    QString m_address;
    std::unique_ptr<FakeLogind> m_logind;
    int m_connection = 0;
    QString m_serviceName;
    QString m_clientName;
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
    QVERIFY(!m_address.isEmpty());
}

void TestSleepInhibitor::cleanupTestCase()
{
    m_daemon.terminate();
    m_daemon.waitForFinished();
}

void TestSleepInhibitor::init()
{
    ++m_connection;
    m_serviceName = QStringLiteral("service%1").arg(m_connection);
    m_clientName = QStringLiteral("client%1").arg(m_connection);
    QDBusConnection service = QDBusConnection::connectToBus(m_address, m_serviceName);
    QVERIFY(service.isConnected());
    m_logind = std::make_unique<FakeLogind>();
    if (QByteArray(QTest::currentTestFunction()) != "withoutLogindNothingIsHeld") {
        QVERIFY(service.registerObject(QStringLiteral("/org/freedesktop/login1"), m_logind.get(),
                                       QDBusConnection::ExportAllSlots));
        QVERIFY(service.registerService(QStringLiteral("org.freedesktop.login1")));
    }
}

void TestSleepInhibitor::cleanup()
{
    QDBusConnection service(m_serviceName);
    service.unregisterService(QStringLiteral("org.freedesktop.login1"));
    service.unregisterObject(QStringLiteral("/org/freedesktop/login1"));
    QDBusConnection::disconnectFromBus(m_serviceName);
    QDBusConnection::disconnectFromBus(m_clientName);
    m_logind.reset();
}

void TestSleepInhibitor::lockIsHeldUntilReleased()
{
    LogindSleepInhibitor inhibitor(QDBusConnection::connectToBus(m_address, m_clientName));
    inhibitor.acquire();
    QTRY_VERIFY(inhibitor.isHeld());
    QCOMPARE(m_logind->readEnds.size(), 1);
    QCOMPARE(m_logind->lastArguments.at(0), QStringLiteral("sleep:idle"));
    QCOMPARE(m_logind->lastArguments.at(3), QStringLiteral("block"));

    // Logind keeps the lock for as long as any copy of the descriptor is open.
    QTest::qWait(50);
    QVERIFY(!released(m_logind->readEnds.first()));

    inhibitor.release();
    QVERIFY(!inhibitor.isHeld());
    QVERIFY(released(m_logind->readEnds.first()));
}

void TestSleepInhibitor::repeatedRequestsShareOneLock()
{
    LogindSleepInhibitor inhibitor(QDBusConnection::connectToBus(m_address, m_clientName));
    inhibitor.acquire();
    inhibitor.acquire();
    QTRY_VERIFY(inhibitor.isHeld());
    inhibitor.acquire();
    QTest::qWait(50);
    QCOMPARE(m_logind->readEnds.size(), 1);

    // Requests are not counted: one release ends them all.
    inhibitor.release();
    QVERIFY(released(m_logind->readEnds.first()));

    inhibitor.acquire();
    QTRY_COMPARE(m_logind->readEnds.size(), 2);
    QTRY_VERIFY(inhibitor.isHeld());
}

void TestSleepInhibitor::releaseBeforeTheReplyDropsTheLock()
{
    LogindSleepInhibitor inhibitor(QDBusConnection::connectToBus(m_address, m_clientName));
    inhibitor.acquire();
    inhibitor.release(); // the reply is still on its way
    QTRY_COMPARE(m_logind->readEnds.size(), 1);
    QTRY_VERIFY(released(m_logind->readEnds.first()));
    QVERIFY(!inhibitor.isHeld());
}

void TestSleepInhibitor::withoutLogindNothingIsHeld()
{
    LogindSleepInhibitor inhibitor(QDBusConnection::connectToBus(m_address, m_clientName));
    inhibitor.acquire();
    QTest::qWait(200);
    QVERIFY(!inhibitor.isHeld());
    inhibitor.release();
}

void TestSleepInhibitor::withoutABusNothingHappens()
{
    LogindSleepInhibitor inhibitor(
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), m_clientName));
    inhibitor.acquire();
    QVERIFY(!inhibitor.isHeld());
    inhibitor.release();
}

HALVORNSYNC_TEST_MAIN(TestSleepInhibitor)
#include "tst_sleepinhibitor.moc"
