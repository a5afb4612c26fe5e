#pragma once

#include <QByteArray>
#include <QString>

// Files the tests lay out on disk.
namespace TestFiles {

// Writes `content` to `path`, making its folders on the way; false when any of it fails.
bool write(const QString &path, const QByteArray &content);

} // namespace TestFiles
