#pragma once

#include <QStringList>
#include <QVersionNumber>

// The vendor's maps in a Garmin maps folder: the map folders, their Info.xml files, and whether
// an installed version is out of date. Reads the file system anew on every call.
namespace InstalledMaps {

// Names of the direct subfolders named "Halvorn*", in any letter case, in the file system's
// order; empty when the folder does not exist.
QStringList vendorMapFolders(const QString &mapsFolder);

// Canonical paths of the Info.xml files below `folder` whose path below it contains "Halvorn"
// (exactly so cased), in walk order. Symbolic links to folders are not followed.
QStringList findInfoFiles(const QString &folder);

// Where the computer map is downloaded and unpacked before it is installed: inside the maps
// folder, so finished map folders are moved into place, never copied.
QString downloadFolder(const QString &mapsFolder);

// Where an install keeps the maps it replaces until the new ones are in place: beside the
// download folder, never inside it, so nothing an archive unpacks can reach it.
QString setAsideFolder(const QString &mapsFolder);

// findInfoFiles(mapsFolder) without the download folder and the set-aside folder, whose maps are
// not installed.
QStringList installedInfoFiles(const QString &mapsFolder);

// An installed version is out of date when it is known and smaller than the latest; 24.1 is
// smaller than 24.1.0. An unknown (empty) installed version counts as up to date.
bool isOutOfDate(const QVersionNumber &installed, const QVersionNumber &latest);

} // namespace InstalledMaps
