// A Garmin Info.xml file as an installed map (or an archive) may carry it.

#include "maps/MapInfoFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

namespace {
QString infoPath()
{
    static QTemporaryDir dir;
    return dir.filePath(QStringLiteral("Info.xml"));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QFile file(infoPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size)) {
        __builtin_trap();
    }
    file.close();
    MapInfoFile::readId(file.fileName());
    MapInfoFile::readVersion(file.fileName());
    MapInfoFile::versionInName(
        QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
