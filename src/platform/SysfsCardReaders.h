#pragma once

#include <QString>

// Tells from Linux's sysfs whether a block device can hold a preprogrammed card: its disk (the
// device itself, or the disk it is a partition of) reports removable media, hangs off a USB
// bus, or is an SD card in an MMC slot. Built-in card slots show as mmcblk* and often report
// "not removable", as does soldered-in eMMC (type MMC, not SD); USB card readers often report
// fixed disks.
class SysfsCardReaders
{
public:
    // `sysfsRoot` is normally "/sys"; tests give a made-up tree.
    explicit SysfsCardReaders(const QString &sysfsRoot = QStringLiteral("/sys"));

    // `device` is the device node of a mounted volume, such as "/dev/sdb1".
    bool isCardReader(const QString &device) const;

private:
    QString m_root;
};
