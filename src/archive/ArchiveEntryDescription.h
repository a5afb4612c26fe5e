#pragma once

#include <QJsonObject>
#include <QString>

struct archive_entry;

// The description of one archive entry that getInfo() reports under the entry's path.
namespace ArchiveEntryDescription {

QJsonObject describe(archive_entry *entry, const QString &path);

} // namespace ArchiveEntryDescription
