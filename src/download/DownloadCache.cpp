#include "download/DownloadCache.h"

#include <QDir>
#include <QStandardPaths>

namespace DownloadCache {

QString programFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
}

QString folder()
{
    const QString downloads = programFolder() + QStringLiteral("/downloads");
    QDir().mkpath(downloads);
    return downloads;
}

} // namespace DownloadCache
