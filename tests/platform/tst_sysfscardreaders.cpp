#include "TestMain.h"
#include "platform/SysfsCardReaders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// Which disks Linux reports as able to hold a card, on made-up sysfs trees shaped like real ones:
// class/block/<name> links into the hardware tree, where a partition sits inside its disk.
class TestSysfsCardReaders : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cardReaders_data();
    void cardReaders();
};

void TestSysfsCardReaders::cardReaders_data()
{
    QTest::addColumn<QString>("diskPath"); // below devices/, ending in the disk's name
    QTest::addColumn<QString>("removable");
    QTest::addColumn<QString>("device"); // as the volume names it
    QTest::addColumn<bool>("cardReader");

    const auto row = [](const char *name, const QString &diskPath, const char *removable,
                        const char *device, bool cardReader) {
        QTest::newRow(name) << diskPath << removable << device << cardReader;
    };
    const QString usbDisk = QStringLiteral(
        "pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/sdb");
    const QString sataDisk =
        QStringLiteral("pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/block/sda");
    row("USB reader reporting a fixed disk", usbDisk, "0", "/dev/sdb", true);
    row("removable flag", sataDisk, "1", "/dev/sda1", true);
    row("built-in slot that says not removable",
        "pci0000:00/0000:00:1a.0/mmc_host/mmc0/mmc0:0001/block/mmcblk0", "0", "/dev/mmcblk0p1",
        true);
    row("internal disk", sataDisk, "0", "/dev/sda1", false);
    row("device sysfs does not know", sataDisk, "1", "/dev/sdz1", false);
}

void TestSysfsCardReaders::cardReaders()
{
    QFETCH(QString, diskPath);
    QFETCH(QString, removable);
    QFETCH(QString, device);
    QFETCH(bool, cardReader);
    QTemporaryDir sys;
    const QString disk = sys.filePath(QStringLiteral("devices/") + diskPath);
    const QString diskName = QFileInfo(disk).fileName();
    const QString partition =
        diskName + (diskName.startsWith(QLatin1String("mmcblk")) ? "p1" : "1");
    const QDir classBlock(sys.filePath(QStringLiteral("class/block")));
    QVERIFY(QDir().mkpath(disk + '/' + partition) && QDir().mkpath(classBlock.path()));
    for (const auto &[path, content] :
         {std::pair(disk + "/removable", removable + '\n'),
          std::pair(disk + '/' + partition + "/partition", QString("1\n"))}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content.toLatin1()) > 0);
    }
    // As in /sys, the links are relative.
    for (const QString &target : {disk, disk + '/' + partition}) {
        QVERIFY(QFile::link(classBlock.relativeFilePath(target),
                            classBlock.filePath(QFileInfo(target).fileName())));
    }

    QCOMPARE(SysfsCardReaders(sys.path()).isCardReader(device), cardReader);
}

HALVORNSYNC_TEST_MAIN(TestSysfsCardReaders)
#include "tst_sysfscardreaders.moc"
