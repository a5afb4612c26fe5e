#include "platform/SysfsCardReaders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

SysfsCardReaders::SysfsCardReaders(const QString &sysfsRoot)
    : m_root(QFileInfo(sysfsRoot).canonicalFilePath())
{
}

bool SysfsCardReaders::isCardReader(const QString &device) const
{
    const QString name = QFileInfo(device).fileName();
    if (!device.startsWith(QLatin1String("/dev/")) || name.isEmpty()) {
        return false; // tmpfs, network shares and the like have no block device
    }
    // class/block/<name> links to the device's place in the hardware tree, which names the
    // buses it hangs off.
    const QString devicePath =
        QFileInfo(m_root + QStringLiteral("/class/block/") + name).canonicalFilePath();
    if (devicePath.isEmpty()) {
        return false;
    }
    const bool isPartition = QFileInfo::exists(devicePath + QStringLiteral("/partition"));
    const QString diskPath = isPartition ? QFileInfo(devicePath).path() : devicePath;
    const auto says = [&diskPath](const char *file, const QByteArray &value) {
        QFile answer(diskPath + QLatin1Char('/') + QLatin1String(file));
        return answer.open(QIODevice::ReadOnly) && answer.readAll().trimmed() == value;
    };
    // Soldered-in eMMC is an mmcblk device too, and often the system disk: only an SD card is a
    // card.
    if (QFileInfo(diskPath).fileName().startsWith(QLatin1String("mmcblk"))) {
        return says("device/type", "SD");
    }
    if (says("removable", "1")) {
        return true;
    }
    const QStringList hops = diskPath.mid(m_root.size()).split(QLatin1Char('/'));
    return std::any_of(hops.cbegin(), hops.cend(), [](const QString &hop) {
        return hop.startsWith(QLatin1String("usb")) && hop.size() > 3 && hop.at(3).isDigit();
    });
}
