#include "TestMain.h"
#include "platform/BoundedProcess.h"

#include <QPointer>

using namespace std::chrono_literals;

// Runs small programs of its own; never the real machine's tools.
class TestBoundedProcess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reportsOnceHowTheToolEnded_data();
    void reportsOnceHowTheToolEnded();
    void toolThatOverrunsIsGivenUp();
    void goneContextHearsNothing();
};

void TestBoundedProcess::reportsOnceHowTheToolEnded_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("succeeded");
    QTest::newRow("exit 0") << "/bin/sh" << QStringList{"-c", "exit 0"} << true;
    QTest::newRow("exit 3") << "/bin/sh" << QStringList{"-c", "exit 3"} << false;
    QTest::newRow("killed by a signal") << "/bin/sh" << QStringList{"-c", "kill -9 $$"} << false;
    QTest::newRow("missing program")
        << "/nonexistent/halvornsync-no-such-tool" << QStringList() << false;
}

void TestBoundedProcess::reportsOnceHowTheToolEnded()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(bool, succeeded);
    QObject context;
    QList<bool> reports;
    BoundedProcess::run(program, arguments, &context, [&reports](bool ok) { reports.append(ok); });
    QVERIFY(reports.isEmpty()); // never from inside run()
    QTRY_COMPARE(reports.size(), 1);
    QCOMPARE(reports.first(), succeeded);
}

// A hanging tool must not hold the wizard up: the limit ends it, and the report says so.
void TestBoundedProcess::toolThatOverrunsIsGivenUp()
{
    QObject context;
    QList<bool> reports;
    BoundedProcess::run(
        QStringLiteral("/bin/sleep"), {QStringLiteral("600")}, &context,
        [&reports](bool ok) { reports.append(ok); }, 100ms);
    QTRY_COMPARE(reports.size(), 1);
    QCOMPARE(reports.first(), false);
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
