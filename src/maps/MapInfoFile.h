#pragma once

#include <QString>
#include <QVersionNumber>

// Reads what the wizard needs from a Garmin Info.xml file: the map's family identifier and its
// version. Every call parses the file anew; whatever part of a damaged file the parser managed to
// read is still looked at, and a file without the element gives -1 or the empty version.
namespace MapInfoFile {

// root / ID as a decimal number; -1 when it is missing or not a number.
int readId(const QString &path);

// The version found in the text of root / SubProduct / Name; empty when there is none.
QVersionNumber readVersion(const QString &path);

// The version rule on a Name text: the first run of digits with up to two further runs, each
// after any one character, read as a version up to the first character that is not a dot.
QVersionNumber versionInName(const QString &name);

} // namespace MapInfoFile
