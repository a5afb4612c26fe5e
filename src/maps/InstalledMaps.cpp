#include "maps/InstalledMaps.h"

#include "platform/platform.h"

#include <QDir>
#include <QDirIterator>

#include <functional>

namespace {
const QString downloadFolderName = QStringLiteral("HalvornSyncDownloads");
const QString setAsideFolderName = QStringLiteral("HalvornSyncSetAside");

// The installer's own folders are neither maps to offer for removal nor maps to count.
bool isInstallersFolder(const QString &name)
{
    return name.compare(downloadFolderName, Platform::fileNameCase()) == 0 ||
           name.compare(setAsideFolderName, Platform::fileNameCase()) == 0;
}
} // namespace

namespace InstalledMaps {

QString downloadFolder(const QString &mapsFolder)
{
    return mapsFolder + QLatin1Char('/') + downloadFolderName;
}

QString setAsideFolder(const QString &mapsFolder)
{
    return mapsFolder + QLatin1Char('/') + setAsideFolderName;
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
    folders.removeIf(isInstallersFolder);
    return folders;
}

namespace {
// The Info.xml files below `folder` whose path below it passes `wanted`, as canonical paths in
// walk order. Only the part below the folder is judged: a user, a home or a Wine prefix named
// "Halvorn..." must not make every map in the folder the vendor's.
QStringList infoFilesBelow(const QString &folder,
                           const std::function<bool(const QString &relative)> &wanted)
{
    QStringList found;
    if (folder.isEmpty()) {
        return found;
    }
    const QDir root(folder);
    QDirIterator it(folder, {QStringLiteral("Info.xml")}, QDir::NoFilter,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (wanted(root.relativeFilePath(it.filePath()))) {
            found.append(it.fileInfo().canonicalFilePath());
        }
    }
    return found;
}

// Unlike the folder list, this test minds the letter case.
bool isVendors(const QString &relative)
{
    return relative.contains(QLatin1String("Halvorn"));
}
} // namespace

QStringList findInfoFiles(const QString &folder)
{
    return infoFilesBelow(folder, isVendors);
}

QStringList installedInfoFiles(const QString &mapsFolder)
{
    return infoFilesBelow(mapsFolder, [](const QString &relative) {
        return isVendors(relative) && !isInstallersFolder(relative.section(QLatin1Char('/'), 0, 0));
    });
}

bool isOutOfDate(const QVersionNumber &installed, const QVersionNumber &latest)
{
    return !installed.isNull() && QVersionNumber::compare(installed, latest) < 0;
}

} // namespace InstalledMaps
