#pragma once

#include <QString>

// Where the program keeps what it downloads until it is used: a folder of its own in the user's
// cache (QStandardPaths::CacheLocation), which no other user can write into. In the shared
// temporary folder another user could take a file's name first, or put a link there.
namespace DownloadCache {

// The program's own cache folder, for everything it keeps for a while.
QString programFolder();
// The folder downloads are written into, inside programFolder(); made when missing.
QString folder();

} // namespace DownloadCache
