#include "CopyLog.h"
#include "FaultyDestinations.h"
#include "TestMain.h"
#include "copier/CopyThread.h"
#include "copier/FileCopier.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaEnum>
#include <QPointer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace {
enum class Content
{
    Source, // the source's bytes
    Old,    // what the destination held before
    Absent
};

enum class Fault
{
    None,
    RefuseFirstOpen,
    FillUpInLastBlock
};

const QByteArray oldContent("old");

QByteArray makeData(int size, quint32 seed = 1)
{
    QByteArray data(size, Qt::Uninitialized);
    QRandomGenerator generator(seed);
    std::generate(data.begin(), data.end(), [&generator] { return char(generator.generate()); });
    return data;
}

bool isDone(const CopyLog &log)
{
    return !log.events.isEmpty() && log.events.last().startsWith(QLatin1String("done("));
}

QList<CopyThread *> workers()
{
    return qApp->findChildren<CopyThread *>(Qt::FindDirectChildrenOnly);
}

CopyThread *newWorker(const QList<CopyThread *> &before)
{
    for (CopyThread *worker : workers()) {
        if (!before.contains(worker)) {
            return worker;
        }
    }
    return nullptr;
}
} // namespace

Q_DECLARE_METATYPE(Content)
Q_DECLARE_METATYPE(Fault)

class TestFileCopier : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void copiesOneRunAtATime();
    void outcome_data();
    void outcome();
    void answers_data();
    void answers();
    void skipAllAfterWriteFailure_data();
    void skipAllAfterWriteFailure();
    void cancel_data();
    void cancel();
    void answerFromStateChangedSlot();
    void copierDestroyedWhileWaiting();
    void workerDeletedWhileCopying();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    void write(const QString &name, const QByteArray &data) const;
    QByteArray read(const QString &name) const;
    void verifyContent(const QString &name, Content expected) const;
    // Answers every question the copier asks, from the event loop as a user would.
    void answerWith(FileCopier &copier, const char *answer,
                    const std::function<void(int)> &beforeAnswer = {});

    std::unique_ptr<QTemporaryDir> m_dir;
    QByteArray m_data;
};

void TestFileCopier::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_data = makeData(20000);
    write(QStringLiteral("a.bin"), m_data);
    write(QStringLiteral("b.bin"), m_data);
    // Smaller than QFile's write buffer: a buffered write would fail only when closed.
    write(QStringLiteral("small.bin"), m_data.left(10000));
    write(QStringLiteral("old.bin"), oldContent);
    write(QStringLiteral("old2.bin"), oldContent);
}

void TestFileCopier::write(const QString &name, const QByteArray &data) const
{
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(data), data.size());
}

QByteArray TestFileCopier::read(const QString &name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestFileCopier::verifyContent(const QString &name, Content expected) const
{
    const QFileInfo info(path(name));
    switch (expected) {
    case Content::Absent:
        QVERIFY2(!info.exists() && !info.isSymLink(), qPrintable(name));
        break;
    case Content::Source:
        QVERIFY2(read(name) == m_data, qPrintable(name));
        break;
    case Content::Old:
        QCOMPARE(read(name), oldContent);
        break;
    }
}

void TestFileCopier::answerWith(FileCopier &copier, const char *answer,
                                const std::function<void(int)> &beforeAnswer)
{
    connect(&copier, &FileCopier::error, &copier,
            [&copier, answer, beforeAnswer](int id, FileCopier::Error, bool stopped) {
                if (!stopped) {
                    return;
                }
                QTimer::singleShot(0, &copier, [&copier, answer, beforeAnswer, id] {
                    if (beforeAnswer) {
                        beforeAnswer(id);
                    }
                    QVERIFY(QMetaObject::invokeMethod(&copier, answer));
                });
            });
}

void TestFileCopier::copiesOneRunAtATime()
{
    FileCopier copier;
    CopyLog log;
    log.watch(&copier);
    int refusedWhileBusy = 0;
    int acceptedAfterDone = 0;
    connect(&copier, &FileCopier::started, this, [&](int id) {
        if (id == 0) {
            refusedWhileBusy = copier.copy(path("a.bin"), path("refused.bin"));
        }
    });
    connect(&copier, &FileCopier::done, this, [&] {
        if (acceptedAfterDone == 0) {
            acceptedAfterDone = copier.copy(path("a.bin"), path("second.bin"));
        }
    });

    QCOMPARE(copier.copy(m_dir->path(), path("folder-copy")), -1);
    QCOMPARE(copier.copy(path("a.bin"), path("first.bin")), 0);
    QTRY_COMPARE(log.events.count(QStringLiteral("done(false)")), 2);

    QCOMPARE(refusedWhileBusy, -1);
    QCOMPARE(acceptedAfterDone, 1);
    const QStringList run{"state(Busy)", "started(%1)", "finished(%1,false)", "state(Idle)",
                          "done(false)"};
    QStringList expected;
    for (const int id : {0, 1}) {
        for (const QString &event : run) {
            expected << (event.contains(QLatin1String("%1")) ? event.arg(id) : event);
        }
    }
    QCOMPARE(log.events, expected);
    for (const int id : {0, 1}) {
        const QList<qint64> progress = log.progress.value(id);
        QVERIFY(!progress.isEmpty());
        QVERIFY(std::is_sorted(progress.begin(), progress.end()));
        QCOMPARE(progress.last(), m_data.size());
    }
    verifyContent(QStringLiteral("first.bin"), Content::Source);
    verifyContent(QStringLiteral("second.bin"), Content::Source);
    verifyContent(QStringLiteral("refused.bin"), Content::Absent);
}

void TestFileCopier::outcome_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<int>("flags");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<FileCopier::Error>("error");
    QTest::addColumn<QString>("result");
    QTest::addColumn<Content>("content");

    const int unattended = FileCopier::NonInteractive;
    const auto row = [](const char *name, const char *source, const char *destination, int flags,
                        Fault fault, FileCopier::Error error, const char *result, Content content) {
        QTest::newRow(name) << QString::fromLatin1(source) << QString::fromLatin1(destination)
                            << flags << fault << error << QString::fromLatin1(result) << content;
    };
    row("new file", "a.bin", "new.bin", unattended, Fault::None, FileCopier::NoError, "new.bin",
        Content::Source);
    row("into an existing folder", "a.bin", "folder", unattended, Fault::None, FileCopier::NoError,
        "folder/a.bin", Content::Source);
    row("replacing a file", "a.bin", "old.bin", unattended, Fault::None, FileCopier::NoError,
        "old.bin", Content::Source);
    row("no folder is created", "a.bin", "missing/new.bin", unattended, Fault::None,
        FileCopier::CannotOpenDestination, "missing", Content::Absent);
    row("source gone", "gone.bin", "new.bin", unattended, Fault::None, FileCopier::SourceNotFound,
        "new.bin", Content::Absent);
    row("following a link", "link-to-a", "new.bin", unattended | FileCopier::FollowLinks,
        Fault::None, FileCopier::NoError, "new.bin", Content::Source);
    row("onto itself", "a.bin", "a.bin", unattended, Fault::None, FileCopier::CannotOpenDestination,
        "a.bin", Content::Source);
    row("onto itself through its folder", "a.bin", ".", unattended, Fault::None,
        FileCopier::CannotOpenDestination, "a.bin", Content::Source);
    row("onto a link to itself", "a.bin", "link-to-a", unattended, Fault::None,
        FileCopier::CannotOpenDestination, "a.bin", Content::Source);
    row("device that cannot grow", "small.bin", "link-to-dev-full", unattended, Fault::None,
        FileCopier::CannotWriteDestination, "link-to-dev-full", Content::Absent);
    row("card fills up in the last block", "a.bin", "new.bin", unattended, Fault::FillUpInLastBlock,
        FileCopier::CannotWriteDestination, "new.bin", Content::Absent);
    row("image that will not open", "a.bin", "old.bin", unattended, Fault::RefuseFirstOpen,
        FileCopier::CannotOpenDestination, "old.bin", Content::Old);
    row("image that will not open, replaced", "a.bin", "old.bin",
        unattended | FileCopier::ForceReplace, Fault::RefuseFirstOpen, FileCopier::NoError,
        "old.bin", Content::Source);
}

void TestFileCopier::outcome()
{
    QFETCH(QString, source);
    QFETCH(QString, destination);
    QFETCH(int, flags);
    QFETCH(Fault, fault);
    QFETCH(FileCopier::Error, error);
    QFETCH(QString, result);
    QFETCH(Content, content);

    const QString devFull = QStringLiteral("/dev/full");
    if (destination.contains(QLatin1String("dev-full")) && !QFileInfo::exists(devFull)) {
        QSKIP("no /dev/full on this machine");
    }
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder")));
    QVERIFY(QFile::link(path("a.bin"), path("link-to-a")));
    QVERIFY(QFile::link(devFull, path("link-to-dev-full")));
    FaultyDestinations faults;
    if (fault == Fault::RefuseFirstOpen) {
        faults.refuseFirstOpen();
    } else if (fault == Fault::FillUpInLastBlock) {
        faults.setCapacity(m_data.size() - 100);
    }

    FileCopier copier;
    CopyLog log;
    log.watch(&copier);
    QCOMPARE(copier.copy(path(source), path(destination), flags), 0);
    QTRY_VERIFY(isDone(log));

    if (error == FileCopier::NoError) {
        QVERIFY2(log.events.filter(QStringLiteral("error(")).isEmpty(),
                 qPrintable(log.events.join(' ')));
        QCOMPARE(log.events.last(), QStringLiteral("done(false)"));
    } else {
        const QString reported =
            QStringLiteral("error(0,%1)")
                .arg(QMetaEnum::fromType<FileCopier::Error>().valueToKey(error));
        QVERIFY2(log.events.contains(reported), qPrintable(log.events.join(' ')));
        QCOMPARE(log.events.last(), QStringLiteral("done(true)"));
    }
    verifyContent(result, content);
    verifyContent(QStringLiteral("a.bin"), Content::Source);
    if (result.contains(QLatin1String("dev-full"))) {
        QVERIFY(QFileInfo(devFull).exists()); // only the link to it was removed
    }
    if (content == Content::Source) {
        QVERIFY(!QFileInfo(path(result)).isSymLink());
    }
}

void TestFileCopier::answers_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("removeBeforeAnswer");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<Content>("content");

    const QStringList asked0{"state(Busy)", "started(0)", "state(WaitingForAnswer)",
                             "error(0,DestinationExists,stopped)", "state(Busy)"};
    const QStringList asked1{"state(WaitingForAnswer)", "error(1,DestinationExists,stopped)",
                             "state(Busy)"};
    QTest::newRow("skip")
        << QByteArray("skip") << false
        << asked0 + QStringList{"error(0,Canceled)", "finished(0,true)", "started(1)"} + asked1 +
               QStringList{"error(1,Canceled)", "finished(1,true)", "state(Idle)", "done(true)"}
        << Content::Old;
    QTest::newRow("skip all") << QByteArray("skipAll") << false
                              << asked0 +
                                     QStringList{"error(0,Canceled)", "finished(0,true)",
                                                 "started(1)",        "error(1,DestinationExists)",
                                                 "finished(1,true)",  "state(Idle)",
                                                 "done(true)"}
                              << Content::Old;
    const QStringList eachAsked = asked0 + QStringList{"finished(0,false)", "started(1)"} + asked1 +
                                  QStringList{"finished(1,false)", "state(Idle)", "done(false)"};
    QTest::newRow("retry") << QByteArray("retry") << true << eachAsked << Content::Source;
    QTest::newRow("overwrite") << QByteArray("overwrite") << false << eachAsked << Content::Source;
    QTest::newRow("overwrite all")
        << QByteArray("overwriteAll") << false
        << asked0 + QStringList{"finished(0,false)", "started(1)", "finished(1,false)",
                                "state(Idle)", "done(false)"}
        << Content::Source;
}

void TestFileCopier::answers()
{
    QFETCH(QByteArray, answer);
    QFETCH(bool, removeBeforeAnswer);
    QFETCH(QStringList, expected);
    QFETCH(Content, content);

    FileCopier copier;
    CopyLog log;
    log.watch(&copier);
    const QStringList destinations{path("old.bin"), path("old2.bin")};
    answerWith(copier, answer.constData(), [&](int id) {
        if (removeBeforeAnswer) {
            QFile::remove(destinations.at(id));
        }
    });
    QCOMPARE(copier.copy(path("a.bin"), destinations.at(0)), 0);
    QCOMPARE(copier.copy(path("b.bin"), destinations.at(1)), 1);
    QTRY_VERIFY(isDone(log));

    QCOMPARE(log.events, expected);
    verifyContent(QStringLiteral("old.bin"), content);
    verifyContent(QStringLiteral("old2.bin"), content);
}

void TestFileCopier::skipAllAfterWriteFailure_data()
{
    QTest::addColumn<bool>("autoReset");
    QTest::addColumn<bool>("resetSkip");
    QTest::addColumn<bool>("askedAgain");

    QTest::newRow("next run asks again") << true << false << true;
    QTest::newRow("without auto-reset") << false << false << false;
    QTest::newRow("without auto-reset, reset by hand") << false << true << true;
}

void TestFileCopier::skipAllAfterWriteFailure()
{
    QFETCH(bool, autoReset);
    QFETCH(bool, resetSkip);
    QFETCH(bool, askedAgain);

    FaultyDestinations faults;
    faults.setCapacity(8192); // one block fits, so there is a partial file to clean up
    FileCopier copier;
    copier.setAutoReset(autoReset);
    CopyLog log;
    log.watch(&copier);
    answerWith(copier, "skipAll");
    connect(&copier, &FileCopier::done, this, [&] {
        if (log.events.count(QStringLiteral("done(true)")) == 1) {
            if (resetSkip) {
                copier.resetSkip();
            }
            QCOMPARE(copier.copy(path("a.bin"), path("z.bin")), 2);
        }
    });
    QCOMPARE(copier.copy(path("a.bin"), path("x.bin")), 0);
    QCOMPARE(copier.copy(path("b.bin"), path("y.bin")), 1);
    QTRY_COMPARE(log.events.count(QStringLiteral("done(true)")), 2);

    QStringList expected{"state(Busy)",
                         "started(0)",
                         "state(WaitingForAnswer)",
                         "error(0,CannotWriteDestination,stopped)",
                         "state(Busy)",
                         "error(0,Canceled)",
                         "finished(0,true)",
                         "started(1)",
                         "error(1,CannotWriteDestination)",
                         "finished(1,true)",
                         "state(Idle)",
                         "done(true)",
                         "state(Busy)",
                         "started(2)"};
    if (askedAgain) {
        expected << "state(WaitingForAnswer)"
                 << "error(2,CannotWriteDestination,stopped)"
                 << "state(Busy)"
                 << "error(2,Canceled)";
    } else {
        expected << "error(2,CannotWriteDestination)";
    }
    expected << "finished(2,true)"
             << "state(Idle)"
             << "done(true)";
    QCOMPARE(log.events, expected);
    for (const char *name : {"x.bin", "y.bin", "z.bin"}) {
        verifyContent(QString::fromLatin1(name), Content::Absent);
    }
}

void TestFileCopier::cancel_data()
{
    QTest::addColumn<bool>("whileWaiting"); // else while the first block is being written
    QTest::addColumn<QByteArray>("action");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<Content>("first");
    QTest::addColumn<Content>("second");

    const QStringList copying{"state(Busy)", "started(0)"};
    const QStringList waiting =
        copying +
        QStringList{"state(WaitingForAnswer)", "error(0,DestinationExists,stopped)", "state(Busy)"};
    const QStringList oneCanceled{"error(0,Canceled)", "finished(0,true)", "started(1)",
                                  "finished(1,false)", "state(Idle)",      "done(true)"};
    const QStringList allCanceled{"error(0,Canceled)", "finished(0,true)", "canceled()",
                                  "state(Idle)", "done(false)"};
    QTest::newRow("one, while copying") << false << QByteArray("cancel") << copying + oneCanceled
                                        << Content::Absent << Content::Source;
    QTest::newRow("all, while copying") << false << QByteArray("cancelAll") << copying + allCanceled
                                        << Content::Absent << Content::Absent;
    QTest::newRow("one, while waiting for an answer")
        << true << QByteArray("cancel") << waiting + oneCanceled << Content::Old << Content::Source;
    QTest::newRow("all, while waiting for an answer")
        << true << QByteArray("cancelAll") << waiting + allCanceled << Content::Old
        << Content::Absent;
    QTest::newRow("answers while copying change nothing")
        << false << QByteArray("answers")
        << copying + QStringList{"finished(0,false)", "started(1)", "finished(1,false)",
                                 "state(Idle)", "done(false)"}
        << Content::Source << Content::Source;
}

void TestFileCopier::cancel()
{
    QFETCH(bool, whileWaiting);
    QFETCH(QByteArray, action);
    QFETCH(QStringList, expected);
    QFETCH(Content, first);
    QFETCH(Content, second);

    FaultyDestinations faults;
    if (!whileWaiting) {
        faults.holdFirstWrite();
    }
    FileCopier copier;
    CopyLog log;
    log.watch(&copier);
    const QString firstName = whileWaiting ? QStringLiteral("old.bin") : QStringLiteral("x.bin");
    QCOMPARE(copier.copy(path("a.bin"), path(firstName)), 0);
    QCOMPARE(copier.copy(path("b.bin"), path("y.bin")), 1);
    if (whileWaiting) {
        QTRY_COMPARE(copier.state(), FileCopier::WaitingForAnswer);
    } else {
        QTRY_COMPARE(faults.heldWrites(), 1);
    }

    if (action == "cancel") {
        copier.cancel(0);
    } else if (action == "cancelAll") {
        copier.cancelAll();
    } else {
        for (const char *answer : {"skip", "skipAll", "retry", "overwrite", "overwriteAll"}) {
            QVERIFY(QMetaObject::invokeMethod(&copier, answer));
        }
    }
    faults.release();
    QTRY_VERIFY(isDone(log));

    QCOMPARE(log.events, expected);
    verifyContent(firstName, first);
    verifyContent(QStringLiteral("y.bin"), second);
}

// The way the card page answers: straight from its stateChanged slot.
void TestFileCopier::answerFromStateChangedSlot()
{
    FileCopier copier;
    CopyLog log;
    log.watch(&copier);
    connect(&copier, &FileCopier::stateChanged, this, [&copier](FileCopier::State state) {
        if (state == FileCopier::WaitingForAnswer) {
            copier.overwriteAll();
        }
    });
    QCOMPARE(copier.copy(path("a.bin"), path("old.bin")), 0);
    QTRY_VERIFY(isDone(log));

    QCOMPARE(log.events.last(), QStringLiteral("done(false)"));
    verifyContent(QStringLiteral("old.bin"), Content::Source);
}

void TestFileCopier::copierDestroyedWhileWaiting()
{
    const QList<CopyThread *> before = workers();
    auto *copier = new FileCopier;
    const QPointer<CopyThread> worker = newWorker(before);
    QVERIFY(worker);
    QCOMPARE(copier->copy(path("a.bin"), path("old.bin")), 0);
    QCOMPARE(copier->copy(path("gone.bin"), path("y.bin")), 1);
    QCOMPARE(copier->copy(path("b.bin"), path("z.bin")), 2);
    QTRY_COMPARE(copier->state(), FileCopier::WaitingForAnswer);

    delete copier;
    // Nobody is left to answer: what is queued is carried out without asking, then the worker
    // goes.
    QTRY_VERIFY(worker.isNull());
    verifyContent(QStringLiteral("old.bin"), Content::Old);
    verifyContent(QStringLiteral("y.bin"), Content::Absent);
    verifyContent(QStringLiteral("z.bin"), Content::Source);
}

// When the program ends, the application object deletes a worker that may still be copying.
void TestFileCopier::workerDeletedWhileCopying()
{
    FaultyDestinations faults;
    faults.holdFirstWrite();
    const QList<CopyThread *> before = workers();
    auto *copier = new FileCopier;
    QPointer<CopyThread> worker = newWorker(before);
    QCOMPARE(copier->copy(path("a.bin"), path("x.bin")), 0);
    QTRY_COMPARE(faults.heldWrites(), 1);
    delete copier;

    faults.release();
    delete worker.data();
    // Either it got to the end or its partial file was removed; never half a file.
    QVERIFY(!QFileInfo::exists(path("x.bin")) || read(QStringLiteral("x.bin")) == m_data);
}

HALVORNSYNC_TEST_MAIN(TestFileCopier)
#include "tst_filecopier.moc"
