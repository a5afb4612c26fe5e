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
    void wholeFileInOrder_data();
    void wholeFileInOrder();
    void stopsWhenAsked();
};

void TestMediumReads::wholeFileInOrder_data()
{
    QTest::addColumn<qint64>("size");
    QTest::newRow("empty") << qint64(0);
    QTest::newRow("less than a block") << qint64(1000);
    QTest::newRow("past several read-ahead windows, not a whole block")
        << (qint64(70) << 20) + 12345;
}

void TestMediumReads::wholeFileInOrder()
{
    QFETCH(qint64, size);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("gmapsupp.img")));
    QByteArray data(size, Qt::Uninitialized);
    QRandomGenerator(3).fillRange(reinterpret_cast<quint32 *>(data.data()), size / 4);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(data) == size);
    file.close();

    QCryptographicHash hash(QCryptographicHash::Md5);
    qint64 seen = 0;
    const bool read =
        createNativePlatform()->readFromMedium(file.fileName(), [&](QByteArrayView block) {
            hash.addData(block);
            seen += block.size();
            return true;
        });
    QVERIFY(read);
    QCOMPARE(seen, size);
    QCOMPARE(hash.result(), QCryptographicHash::hash(data, QCryptographicHash::Md5));
}

void TestMediumReads::stopsWhenAsked()
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("gmapsupp.img")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(3 << 20, 'x')) > 0);
    file.close();
    int blocks = 0;
    QVERIFY(!createNativePlatform()->readFromMedium(file.fileName(),
                                                    [&](QByteArrayView) { return ++blocks < 2; }));
    QCOMPARE(blocks, 2);
    QVERIFY(!createNativePlatform()->readFromMedium(dir.filePath(QStringLiteral("none")),
                                                    [](QByteArrayView) { return true; }));
}

HALVORNSYNC_TEST_MAIN(TestMediumReads)
#include "tst_mediumreads.moc"
