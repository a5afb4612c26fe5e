#include "TestMain.h"
#include "platform/BoundedProcess.h"

#include <QPointer>

// Runs small programs of its own; never the real machine's tools.
class TestBoundedProcess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reportsOnceHowTheToolEnded_data();
    void reportsOnceHowTheToolEnded();
    void goneContextHearsNothing();
};

void TestBoundedProcess::reportsOnceHowTheToolEnded_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("limitMs");
    QTest::addColumn<bool>("succeeded");
    const QString sh = "/bin/sh";
    QTest::newRow("exit 0") << sh << QStringList{"-c", "exit 0"} << 30000 << true;
    QTest::newRow("exit 3") << sh << QStringList{"-c", "exit 3"} << 30000 << false;
    QTest::newRow("missing program")
        << "/nonexistent/halvornsync-no-such-tool" << QStringList() << 30000 << false;
    // A hanging tool must not hold the wizard up: the limit ends it, and the report says so.
    QTest::newRow("overrunning its limit") << "/bin/sleep" << QStringList{"600"} << 100 << false;
}

void TestBoundedProcess::reportsOnceHowTheToolEnded()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(int, limitMs);
    QFETCH(bool, succeeded);
    QObject context;
    QList<bool> reports;
    BoundedProcess::run(
        program, arguments, &context, [&reports](bool ok) { reports.append(ok); },
        std::chrono::milliseconds(limitMs));
    QVERIFY(reports.isEmpty()); // never from inside run()
    QTRY_COMPARE(reports.size(), 1);
    QCOMPARE(reports.first(), succeeded);
}

void TestBoundedProcess::goneContextHearsNothing()
{
    auto *context = new QObject;
    bool reported = false;
    BoundedProcess::run(QStringLiteral("/bin/sleep"), {QStringLiteral("600")}, context,
                        [&reported](bool) { reported = true; });
    delete context;
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QVERIFY(!reported);
}

HALVORNSYNC_TEST_MAIN(TestBoundedProcess)
#include "tst_boundedprocess.moc"
