#include "maps/InstalledMaps.h"

#include <QDir>
#include <QDirIterator>

namespace {
const QString downloadFolderName = QStringLiteral("HalvornSyncDownloads");
} // namespace

namespace InstalledMaps {

QString downloadFolder(const QString &mapsFolder)
{
    return mapsFolder + QLatin1Char('/') + downloadFolderName;
}

QStringList vendorMapFolders(const QString &mapsFolder)
{
    // An empty path would mean the working directory to QDir.
    if (mapsFolder.isEmpty()) {
        return {};
    }
    QStringList folders = QDir(mapsFolder)
                              .entryList({QStringLiteral("Halvorn*")},
                                         QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
    // The download area is ours, not a map: it is neither offered for removal nor counted.
    folders.removeAll(downloadFolderName);
    return folders;
}

QStringList findInfoFiles(const QString &folder)
{
    QStringList found;
    if (folder.isEmpty()) {
        return found;
    }
    QDirIterator it(folder, {QStringLiteral("Info.xml")}, QDir::NoFilter,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString canonical = it.fileInfo().canonicalFilePath();
        // Unlike the folder list, this test minds the letter case.
        if (canonical.contains(QLatin1String("Halvorn"))) {
            found.append(canonical);
        }
    }
    return found;
}

QStringList installedInfoFiles(const QString &mapsFolder)
{
    QStringList files = findInfoFiles(mapsFolder);
    files.removeIf([](const QString &path) { return path.contains(downloadFolderName); });
    return files;
}

bool isOutOfDate(const QVersionNumber &installed, const QVersionNumber &latest)
{
    return !installed.isNull() && QVersionNumber::compare(installed, latest) < 0;
}

} // namespace InstalledMaps
