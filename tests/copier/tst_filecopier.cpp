#include "FaultyDestinations.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "copier/CopyThread.h"
#include "copier/DestinationFileFactory.h"
#include "copier/FileCopier.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaEnum>
#include <QPointer>
#include <QTimer>

#include <functional>

namespace {
template <typename Enum> QString keyOf(Enum value)
{
    return QString::fromLatin1(QMetaEnum::fromType<Enum>().valueToKey(value));
}

// Copiers start their worker as a child of the application.
QList<CopyThread *> workers()
{
    return qApp->findChildren<CopyThread *>(Qt::FindDirectChildrenOnly);
}

// Calls `act` with the request's id for every question the copier asks, from the event loop as a
// user would answer.
void onEachQuestion(FileCopier &copier, const std::function<void(int)> &act)
{
    QObject::connect(&copier, &FileCopier::error, &copier,
                     [&copier, act](int id, FileCopier::Error, bool stopped) {
                         if (stopped) {
                             QTimer::singleShot(0, &copier, [act, id] { act(id); });
                         }
                     });
}
} // namespace

// Records what a copier reports, in order, as short texts such as "started(0)",
// "error(0,DestinationExists,stopped)", "state(Busy)" or "done(false)"; progress is left out, as
// its number of reports depends on timing. It can also stand in for the copier of a CopyThread:
// its slots and signal carry the copier's names.
class CopyLog : public QObject
{
    Q_OBJECT

public:
    void watch(FileCopier *copier)
    {
        connect(copier, &FileCopier::started, this, &CopyLog::copyStarted);
        connect(copier, &FileCopier::finished, this, &CopyLog::copyFinished);
        connect(copier, &FileCopier::canceled, this, &CopyLog::copyCanceled);
        connect(copier, &FileCopier::error, this, &CopyLog::copyError);
        connect(copier, &FileCopier::stateChanged, this, [this](FileCopier::State state) {
            events << QStringLiteral("state(%1)").arg(keyOf(state));
        });
        connect(copier, &FileCopier::done, this,
                [this](bool error) { events << QStringLiteral("done(%1)").arg(text(error)); });
    }
    bool isDone() const { return events.value(events.size() - 1).startsWith("done("); }
    static QString text(bool value) { return QVariant(value).toString(); }

    QStringList events;

Q_SIGNALS:
    void dataTransferProgress(int id, qint64 progress);

public Q_SLOTS:
    void copyStarted(int id) { events << QStringLiteral("started(%1)").arg(id); }
    void copyFinished(int id, bool error)
    {
        events << QStringLiteral("finished(%1,%2)").arg(id).arg(text(error));
    }
    void copyCanceled() { events << QStringLiteral("canceled()"); }
    void copyError(int id, FileCopier::Error error, bool stopped)
    {
        events << QStringLiteral("error(%1,%2%3)")
                      .arg(id)
                      .arg(keyOf(error), stopped ? QStringLiteral(",stopped") : QString());
    }
};

class TestFileCopier : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void outcome_data();
    void outcome();
    void answersAndCancels_data();
    void answersAndCancels();
    void copierDestroyedWhileWaiting();
    void workerDeletedWhileCopying();
    void directoryMoveRetriesOnlyTheSourceRemoval();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    // What each file holds: "source", "old", "absent", "link" or "other", space-separated.
    QString contents(const QStringList &names) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QByteArray m_data = TestFiles::randomBytes(20000);
};

void TestFileCopier::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    for (const char *name : {"a.bin", "b.bin", "old.bin", "old2.bin"}) {
        QVERIFY(TestFiles::write(path(name), name[0] == 'o' ? "old" : m_data));
    }
}

QString TestFileCopier::contents(const QStringList &names) const
{
    QStringList found;
    for (const QString &name : names) {
        const QFileInfo info(path(name));
        const QByteArray bytes = TestFiles::read(path(name));
        found << (info.isSymLink()  ? "link"
                  : !info.exists()  ? "absent"
                  : bytes == m_data ? "source"
                  : bytes == "old"  ? "old"
                                    : "other");
    }
    return found.join(' ');
}

void TestFileCopier::outcome_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("contents"); // of the result, then of the source a.bin

    const int unattended = FileCopier::NonInteractive;
    const auto row = [](const char *name, const char *source, const char *destination, int flags,
                        const char *fault, const char *error, const char *result,
                        const char *contents) {
        QTest::newRow(name) << source << destination << flags << fault << error << result
                            << contents;
    };
    row("replacing a file", "a.bin", "old.bin", unattended, "", "", "old.bin", "source source");
    row("no folder is created", "a.bin", "missing/new.bin", unattended, "", "CannotOpenDestination",
        "missing", "absent source");
    row("source gone", "gone.bin", "new.bin", unattended, "", "SourceNotFound", "new.bin",
        "absent source");
    row("onto itself through its folder", "a.bin", ".", unattended, "", "CannotOpenDestination",
        "a.bin", "source source");
    row("onto a link to itself", "a.bin", "link-to-a", unattended, "", "CannotOpenDestination",
        "a.bin", "source source");
    row("card fills up in the last block", "a.bin", "new.bin", unattended, "full",
        "CannotWriteDestination", "new.bin", "absent source");
    row("image that will not open", "a.bin", "old.bin", unattended, "refuse",
        "CannotOpenDestination", "old.bin", "old source");
    row("image that will not open, replaced", "a.bin", "old.bin",
        unattended | FileCopier::ForceReplace, "refuse", "", "old.bin", "source source");
}

void TestFileCopier::outcome()
{
    QFETCH(QString, source);
    QFETCH(QString, destination);
    QFETCH(int, flags);
    QFETCH(QString, fault);
    QFETCH(QString, error);
    QFETCH(QString, result);
    QVERIFY(QFile::link(path("a.bin"), path("link-to-a")));
    FaultyDestinations faults;
    faults.state->refuseFirstOpen = fault == "refuse";
    faults.state->capacity = fault == "full" ? m_data.size() - 100 : -1;

    FileCopier copier;
    CopyLog log;
    log.watch(&copier);
    QCOMPARE(copier.copy(path(source), path(destination), flags), 0);
    QTRY_VERIFY(log.isDone());

    const QStringList errors = log.events.filter(QStringLiteral("error("));
    QCOMPARE(errors, error.isEmpty() ? QStringList() : QStringList{"error(0," + error + ")"});
    QCOMPARE(log.events.last(), QStringLiteral("done(%1)").arg(CopyLog::text(!error.isEmpty())));
    QTEST(contents({result, "a.bin"}), "contents");
}

void TestFileCopier::answersAndCancels_data()
{
    QTest::addColumn<bool>("whileCopying"); // else on each question
    QTest::addColumn<QByteArray>("action");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("contents");

    const auto row = [](const char *name, bool whileCopying, const char *action,
                        const QString &expected, const char *contents) {
        QTest::newRow(name) << whileCopying << QByteArray(action) << expected << contents;
    };
    const QString asked0 = "state(Busy) started(0) state(WaitingForAnswer) "
                           "error(0,DestinationExists,stopped) state(Busy) ";
    const QString asked1 =
        "state(WaitingForAnswer) error(1,DestinationExists,stopped) state(Busy) ";
    const QString skipped = asked0 + "error(0,Canceled) finished(0,true) started(1) " + asked1 +
                            "error(1,Canceled) finished(1,true) state(Idle) done(true)";
    row("skip", false, "skip", skipped, "old old");
    const QString rest = "finished(0,false) started(1) finished(1,false) state(Idle) done(false)";
    row("overwrite all", false, "overwriteAll", asked0 + rest, "source source");
    // The way the card page answers: straight from its stateChanged slot, which must find the
    // copier waiting.
    row("overwrite all, from the stateChanged slot", false, "stateChanged",
        "state(Busy) started(0) state(WaitingForAnswer) state(Busy) "
        "error(0,DestinationExists,stopped) " +
            rest,
        "source source");
    const QString all = "error(0,Canceled) finished(0,true) canceled() state(Idle) done(false)";
    row("cancel all", false, "cancelAll", asked0 + all, "old old");
    // While the first block is being written: the partial file goes.
    const QString copying = "state(Busy) started(0) ";
    row("cancel one while copying", true, "cancel",
        copying + "error(0,Canceled) finished(0,true) started(1) finished(1,false) "
                  "state(Idle) done(true)",
        "absent source");
    row("cancel all while copying", true, "cancelAll", copying + all, "absent absent");
    row("answers while copying change nothing", true, "answers", copying + rest, "source source");
}

void TestFileCopier::answersAndCancels()
{
    QFETCH(bool, whileCopying);
    QFETCH(QByteArray, action);
    FaultyDestinations faults;
    faults.state->holdFirstWrite = whileCopying;
    FileCopier copier;
    CopyLog log;
    log.watch(&copier);
    const QStringList names =
        whileCopying ? QStringList{"x.bin", "y.bin"} : QStringList{"old.bin", "old2.bin"};
    const auto act = [&](int id) {
        if (action == "cancel") {
            copier.cancel(id);
        } else if (action == "answers") {
            for (const char *answer : {"skip", "skipAll", "retry", "overwrite", "overwriteAll"}) {
                QVERIFY(QMetaObject::invokeMethod(&copier, answer));
            }
        } else {
            QVERIFY(QMetaObject::invokeMethod(&copier, action.constData()));
        }
    };
    if (action == "stateChanged") {
        connect(&copier, &FileCopier::stateChanged, this, [&copier](FileCopier::State state) {
            if (state == FileCopier::WaitingForAnswer) {
                copier.overwriteAll();
            }
        });
    } else if (!whileCopying) {
        onEachQuestion(copier, act);
    }
    QCOMPARE(copier.copy(path("a.bin"), path(names.at(0))), 0);
    QCOMPARE(copier.copy(path("b.bin"), path(names.at(1))), 1);
    if (whileCopying) {
        QTRY_COMPARE(faults.state->heldWrites.load(), 1);
        act(0);
        faults.release();
    }
    QTRY_VERIFY(log.isDone());

    QTEST(log.events.join(' '), "expected");
    QTEST(contents(names), "contents");
}

void TestFileCopier::copierDestroyedWhileWaiting()
{
    const QList<CopyThread *> before = workers();
    auto *copier = new FileCopier;
    const QPointer<CopyThread> worker = workers().value(before.size());
    QVERIFY(worker && !before.contains(worker));
    QCOMPARE(copier->copy(path("a.bin"), path("old.bin")), 0);
    QCOMPARE(copier->copy(path("gone.bin"), path("y.bin")), 1);
    QCOMPARE(copier->copy(path("b.bin"), path("z.bin")), 2);
    QTRY_COMPARE(copier->state(), FileCopier::WaitingForAnswer);

    delete copier;
    // Nobody is left to answer: what is queued is carried out without asking, then the worker
    // goes.
    QTRY_VERIFY(worker.isNull());
    QCOMPARE(contents({"old.bin", "y.bin", "z.bin"}), "old absent source");
}

// When the program ends, the application object deletes a worker that may still be copying.
void TestFileCopier::workerDeletedWhileCopying()
{
    FaultyDestinations faults;
    faults.state->holdFirstWrite = true;
    const QList<CopyThread *> before = workers();
    auto *copier = new FileCopier;
    QPointer<CopyThread> worker = workers().value(before.size());
    QVERIFY(worker && !before.contains(worker));
    QCOMPARE(copier->copy(path("a.bin"), path("x.bin")), 0);
    QTRY_COMPARE(faults.state->heldWrites.load(), 1);
    delete copier;

    faults.release();
    delete worker.data();
    // Either it got to the end or its partial file was removed; never half a file.
    QVERIFY(contents({"x.bin"}) == "absent" || contents({"x.bin"}) == "source");
}

void TestFileCopier::directoryMoveRetriesOnlyTheSourceRemoval()
{
    QVERIFY(TestFiles::write(path("source/one"), "1"));
    QVERIFY(TestFiles::write(path("source/two"), "2"));
    // Not part of the request: it keeps the source directory from being removed.
    QVERIFY(TestFiles::write(path("source/stray"), "stray"));

    // FollowLinks rules out moving the directory by renaming it, so its entries are carried over
    // one by one.
    CopyRequest directory =
        CopyRequest::make(path("source"), path("target"), FileCopier::FollowLinks, true, true);
    directory.childIds = {1, 2};
    QMap<int, CopyRequest> requests;
    requests.insert(0, directory);
    requests.insert(1, CopyRequest::make(path("source/one"), path("target/one"), 0, true));
    requests.insert(2, CopyRequest::make(path("source/two"), path("target/two"), 0, true));
    CopyLog log;
    auto *worker = new CopyThread(&log);
    worker->copy(requests);
    worker->restart();

    const QString untilStopped = "started(0) started(1) finished(1,false) started(2) "
                                 "finished(2,false) error(0,CannotRemoveSource,stopped)";
    QTRY_COMPARE(log.events.join(' '), untilStopped);
    QVERIFY(QFile::remove(path("source/stray")));
    worker->retry();
    QTRY_COMPARE(log.events.join(' '), untilStopped + " finished(0,false)");

    QVERIFY(!QFileInfo::exists(path("source")));
    QCOMPARE(TestFiles::read(path("target/one")) + TestFiles::read(path("target/two")), "12");
    QCOMPARE(QDir(path("target")).entryList(QDir::Files), (QStringList{"one", "two"}));
}

HALVORNSYNC_TEST_MAIN(TestFileCopier)
#include "tst_filecopier.moc"
