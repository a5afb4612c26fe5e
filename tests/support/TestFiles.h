#pragma once

#include <QByteArray>
#include <QString>

// Files the tests lay out on disk.
namespace TestFiles {

// Writes `content` to `path`, making its folders on the way; false when any of it fails.
bool write(const QString &path, const QByteArray &content);

// An installed map's Info.xml as Garmin's programs read it: the map's family id and, when given,
// the sub-product name that carries its version.
QByteArray mapInfo(qint32 family, const QString &name = QString());

} // namespace TestFiles
