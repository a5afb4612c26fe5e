#include "CopyLog.h"
#include "FaultyDestinations.h"
#include "TestMain.h"
#include "copier/CopyThread.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTemporaryDir>

// Moves and directory requests, which only reach the worker directly: FileCopier queues single
// file copies.
class TestCopyThread : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void moveByRenameCopiesNothing();
    void directoryMoveRetriesOnlyTheSourceRemoval();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    void write(const QString &name, const QByteArray &data) const;
    QByteArray read(const QString &name) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    CopyLog *m_log = nullptr; // stands in for the copier
    QPointer<CopyThread> m_worker;
};

void TestCopyThread::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_log = new CopyLog;
    m_worker = new CopyThread(m_log);
}

void TestCopyThread::cleanup()
{
    delete m_log;
    // Without its copier the worker ends and deletes itself.
    QTRY_VERIFY(m_worker.isNull());
}

void TestCopyThread::write(const QString &name, const QByteArray &data) const
{
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(data), data.size());
}

QByteArray TestCopyThread::read(const QString &name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestCopyThread::moveByRenameCopiesNothing()
{
    FaultyDestinations faults; // counts the files the copy step writes
    const QByteArray data(30000, 'm');
    write(QStringLiteral("a.bin"), data);

    m_worker->copy(0, CopyRequest::make(path("a.bin"), path("b.bin"), 0, true));
    m_worker->restart();
    QTRY_COMPARE(m_log->events, (QStringList{"started(0)", "finished(0,false)"}));

    QCOMPARE(m_log->progress.value(0), QList<qint64>{data.size()});
    QCOMPARE(faults.filesCreated(), 0);
    QVERIFY(!QFileInfo::exists(path("a.bin")));
    QCOMPARE(read(QStringLiteral("b.bin")), data);
}

void TestCopyThread::directoryMoveRetriesOnlyTheSourceRemoval()
{
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("source")));
    write(QStringLiteral("source/one"), QByteArray(10000, '1'));
    write(QStringLiteral("source/two"), QByteArray(10000, '2'));
    // Not part of the request: it keeps the source directory from being removed.
    write(QStringLiteral("source/stray"), QByteArray("stray"));

    // FollowLinks rules out moving the directory by renaming it, so its entries are carried over
    // one by one.
    CopyRequest directory =
        CopyRequest::make(path("source"), path("target"), FileCopier::FollowLinks, true, true);
    directory.childIds = {1, 2};
    QMap<int, CopyRequest> requests;
    requests.insert(0, directory);
    requests.insert(1, CopyRequest::make(path("source/one"), path("target/one"), 0, true));
    requests.insert(2, CopyRequest::make(path("source/two"), path("target/two"), 0, true));
    m_worker->copy(requests);
    m_worker->restart();

    const QStringList untilStopped{"started(0)",        "started(1)",
                                   "finished(1,false)", "started(2)",
                                   "finished(2,false)", "error(0,CannotRemoveSource,stopped)"};
    QTRY_COMPARE(m_log->events, untilStopped);
    QVERIFY(QFile::remove(path("source/stray")));
    m_worker->retry();
    QTRY_COMPARE(m_log->events, untilStopped + QStringList{"finished(0,false)"});

    QVERIFY(!QFileInfo::exists(path("source")));
    QCOMPARE(read(QStringLiteral("target/one")), QByteArray(10000, '1'));
    QCOMPARE(read(QStringLiteral("target/two")), QByteArray(10000, '2'));
    QCOMPARE(QDir(path("target")).entryList(QDir::Files), (QStringList{"one", "two"}));
}

HALVORNSYNC_TEST_MAIN(TestCopyThread)
#include "tst_copythread.moc"
