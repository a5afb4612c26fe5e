#include "TestMain.h"
#include "platform/platform.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

// Reading a file back from its medium, as the card page checks a copy: every byte once, in order,
// whatever the file's size against the blocks and the read-ahead window; and a stop when asked.
class TestMediumReads : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsInOrderUntilStopped_data();
    void readsInOrderUntilStopped();
};

void TestMediumReads::readsInOrderUntilStopped_data()
{
    QTest::addColumn<qint64>("size"); // -1: no file
    QTest::addColumn<int>("stopAt");  // the block whose handler asks to stop; 0: none
    QTest::newRow("empty") << qint64(0) << 0;
    QTest::newRow("past several read-ahead windows, not a whole block")
        << (qint64(70) << 20) + 12345 << 0;
    QTest::newRow("stopped at the second block") << qint64(3 << 20) << 2;
    QTest::newRow("no file") << qint64(-1) << 0;
}

void TestMediumReads::readsInOrderUntilStopped()
{
    QFETCH(qint64, size);
    QFETCH(int, stopAt);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("gmapsupp.img")));
    QByteArray data(qMax<qint64>(size, 0), Qt::Uninitialized);
    QRandomGenerator(3).fillRange(reinterpret_cast<quint32 *>(data.data()), data.size() / 4);
    QVERIFY(size < 0 || (file.open(QIODevice::WriteOnly) && file.write(data) == size));
    file.close();

    QCryptographicHash hash(QCryptographicHash::Md5);
    qint64 seen = 0;
    int blocks = 0;
    const bool read =
        createNativePlatform()->readFromMedium(file.fileName(), [&](QByteArrayView block) {
            hash.addData(block);
            seen += block.size();
            return ++blocks != stopAt;
        });
    QCOMPARE(read, size >= 0 && stopAt == 0);
    if (stopAt) {
        QCOMPARE(blocks, stopAt);
    } else if (read) {
        QCOMPARE(seen, size);
        QCOMPARE(hash.result(), QCryptographicHash::hash(data, QCryptographicHash::Md5));
    }
}

HALVORNSYNC_TEST_MAIN(TestMediumReads)
#include "tst_mediumreads.moc"
