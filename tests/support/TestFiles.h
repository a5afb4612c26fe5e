#pragma once

#include <QByteArray>
#include <QString>

// Files the tests lay out on disk.
namespace TestFiles {

// Writes `content` to `path`, making its folders on the way; false when any of it fails.
bool write(const QString &path, const QByteArray &content);
// The file's bytes; "<missing>" when it cannot be read.
QByteArray read(const QString &path);
// The same `size` bytes at every call, as hard to compress as real map tiles.
QByteArray randomBytes(qsizetype size);

} // namespace TestFiles
