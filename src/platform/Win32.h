#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// What the Windows platform asks of Win32, free of Qt so that it can be cross-compiled and
// exercised under Wine on a machine without Qt for Windows (scripts/check-windows). Paths are
// UTF-16 and go to the wide functions: a user or folder name outside the ANSI code page works.
namespace Win32 {

// VS_FIXEDFILEINFO's dwFileVersionMS and dwFileVersionLS.
struct FileVersion
{
    std::uint32_t mostSignificant = 0;
    std::uint32_t leastSignificant = 0;
};

// The fixed file version of the executable at `path`; nothing when it has no readable version
// resource.
std::optional<FileVersion> fileVersion(const std::wstring &path);

// Keeps the system (and away mode) awake for this thread until allowSleep(). False when the
// system refused.
bool preventSleep();
bool allowSleep();

enum class DetailWrite
{
    Written,
    NoBaseCampKey,
    Failed
};

// Sets BaseCamp's "Detail" value (REG_BINARY 07 00 00 00) under
// HKCU\Software\Garmin\BaseCamp\Settings; a missing key is left missing.
DetailWrite writeBaseCampDetail();

// The system folder (GetSystemDirectoryW), where Windows' own tools are: they are started from
// there by their full path, never by a bare name that the current folder could answer first.
// Empty when the system does not say.
std::wstring systemFolder();

// Whether the drive at `root` (L"E:\\") takes removable media or is a disk on a USB bus, as card
// readers often present their media. The system's own drive never is, whatever its bus.
bool isRemovableDrive(const std::wstring &root);

// The serial number of the file system at `root`, written when it was formatted; nothing when the
// system does not tell.
std::optional<std::uint32_t> volumeSerial(const std::wstring &root);

enum class MediumRead
{
    Complete,
    NotOpened,
    Failed,
    Stopped
};

// Reads the file at `path` with the system's cache bypassed, in blocks handed to `consume`, which
// returns false to stop.
MediumRead readUnbuffered(const std::wstring &path,
                          const std::function<bool(const char *, std::size_t)> &consume);

// Writes what the system still holds of the file at `path`, or of the folder's entries, out to
// the medium (FlushFileBuffers). For a folder the volume is flushed as well where the user may
// open it, which matters on FAT cards: their folder entries are not journaled. Reparse points
// are not followed. False when nothing could be flushed.
bool flushFile(const std::wstring &path);
bool flushFolder(const std::wstring &path);

} // namespace Win32
