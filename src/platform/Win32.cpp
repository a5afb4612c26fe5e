#include "platform/Win32.h"

#include <cwctype>
#include <vector>
#include <windows.h>
#include <winioctl.h>
#include <winver.h>

namespace {

constexpr wchar_t kBaseCampSettings[] = L"Software\\Garmin\\BaseCamp\\Settings";

// A handle that is closed on every way out.
class Handle
{
public:
    explicit Handle(HANDLE handle)
        : m_handle(handle)
    {
    }
    ~Handle()
    {
        if (valid()) {
            CloseHandle(m_handle);
        }
    }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;

    bool valid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

bool isOnUsbBus(wchar_t driveLetter)
{
    const std::wstring device = std::wstring(L"\\\\.\\") + driveLetter + L':';
    // No access rights asked: the storage query needs none, so it works without elevation.
    const Handle disk(CreateFileW(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    if (!disk.valid()) {
        return false;
    }
    STORAGE_PROPERTY_QUERY query = {};
    query.PropertyId = StorageDeviceProperty;
    query.QueryType = PropertyStandardQuery;
    STORAGE_DEVICE_DESCRIPTOR descriptor = {};
    DWORD returned = 0;
    const BOOL answered =
        DeviceIoControl(disk.get(), IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, &descriptor,
                        sizeof descriptor, &returned, nullptr);
    return answered && returned >= offsetof(STORAGE_DEVICE_DESCRIPTOR, BusType) + sizeof(DWORD) &&
           descriptor.BusType == BusTypeUsb;
}

} // namespace

namespace Win32 {

std::optional<FileVersion> fileVersion(const std::wstring &path)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) {
        return std::nullopt;
    }
    std::vector<char> buffer(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, buffer.data())) {
        return std::nullopt;
    }
    VS_FIXEDFILEINFO *info = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(buffer.data(), L"\\", reinterpret_cast<LPVOID *>(&info), &length) ||
        !info || length < sizeof(VS_FIXEDFILEINFO) || info->dwSignature != 0xFEEF04BD) {
        return std::nullopt;
    }
    return FileVersion{info->dwFileVersionMS, info->dwFileVersionLS};
}

bool preventSleep()
{
    return SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_AWAYMODE_REQUIRED) != 0;
}

// ES_CONTINUOUS alone clears what preventSleep() asked for on this thread.
bool allowSleep()
{
    return SetThreadExecutionState(ES_CONTINUOUS) != 0;
}

DetailWrite writeBaseCampDetail()
{
    HKEY key = nullptr;
    // Opened, never created: without BaseCamp's own key there is nothing to set.
    const LSTATUS opened =
        RegOpenKeyExW(HKEY_CURRENT_USER, kBaseCampSettings, 0, KEY_SET_VALUE, &key);
    if (opened == ERROR_FILE_NOT_FOUND) {
        return DetailWrite::NoBaseCampKey;
    }
    if (opened != ERROR_SUCCESS) {
        return DetailWrite::Failed;
    }
    const BYTE detail[4] = {0x07, 0x00, 0x00, 0x00};
    const LSTATUS written =
        RegSetValueExW(key, L"Detail", 0, REG_BINARY, detail, DWORD(sizeof detail));
    RegCloseKey(key);
    return written == ERROR_SUCCESS ? DetailWrite::Written : DetailWrite::Failed;
}

std::wstring systemFolder()
{
    std::wstring folder(MAX_PATH, L'\0');
    UINT length = GetSystemDirectoryW(folder.data(), UINT(folder.size()));
    if (length >= folder.size()) { // too small: the answer is the size needed
        folder.resize(length);
        length = GetSystemDirectoryW(folder.data(), UINT(folder.size()));
    }
    folder.resize(length < folder.size() ? length : 0);
    return folder;
}

bool isRemovableDrive(const std::wstring &root)
{
    // The drive Windows runs from can sit on any bus (USB-booted Windows To Go): never offered.
    wchar_t windows[MAX_PATH] = {};
    const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
    if (root.empty() || (length > 0 && length < MAX_PATH &&
                         std::towupper(windows[0]) == std::towupper(root.front()))) {
        return false;
    }
    const UINT type = GetDriveTypeW(root.c_str());
    if (type == DRIVE_REMOVABLE) {
        return true;
    }
    // USB card readers present their media as fixed disks; the bus tells them apart.
    return type == DRIVE_FIXED && !root.empty() && isOnUsbBus(root.front());
}

std::optional<std::uint32_t> volumeSerial(const std::wstring &root)
{
    DWORD serial = 0;
    if (!GetVolumeInformationW(root.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) {
        return std::nullopt;
    }
    return serial;
}

MediumRead readUnbuffered(const std::wstring &path,
                          const std::function<bool(const char *, std::size_t)> &consume)
{
    // Unbuffered reads bypass the cache that still holds what was just written. They must be
    // whole sectors into sector-aligned memory: 1 MiB from VirtualAlloc is both.
    constexpr DWORD blockSize = 1 << 20;
    const Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN,
                                  nullptr));
    if (!file.valid()) {
        return MediumRead::NotOpened;
    }
    void *block = VirtualAlloc(nullptr, blockSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!block) {
        return MediumRead::Failed;
    }
    MediumRead result = MediumRead::Complete;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.get(), block, blockSize, &read, nullptr)) {
            result = MediumRead::Failed;
            break;
        }
        if (read == 0) {
            break;
        }
        if (!consume(static_cast<const char *>(block), read)) {
            result = MediumRead::Stopped;
            break;
        }
    }
    VirtualFree(block, 0, MEM_RELEASE);
    return result;
}

bool flushFile(const std::wstring &path)
{
    // FlushFileBuffers needs a handle with the right to write; sharing everything leaves the file
    // usable by whoever else has it open.
    const Handle file(CreateFileW(path.c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    return file.valid() && FlushFileBuffers(file.get());
}

bool flushFolder(const std::wstring &path)
{
    // A folder opens only with backup semantics; NTFS then writes out its journal of the folder's
    // entries.
    const Handle folder(
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    const bool folderFlushed = folder.valid() && FlushFileBuffers(folder.get());

    // The volume's own handle flushes everything on it, FAT's folder entries included, but only
    // an administrator may open it: elsewhere this is skipped.
    wchar_t root[MAX_PATH] = {};
    bool volumeFlushed = false;
    if (GetVolumePathNameW(path.c_str(), root, MAX_PATH) && root[0] != L'\\' && root[1] == L':') {
        const std::wstring device = std::wstring(L"\\\\.\\") + root[0] + L':';
        const Handle volume(CreateFileW(device.c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        0, nullptr));
        volumeFlushed = volume.valid() && FlushFileBuffers(volume.get());
    }
    return folderFlushed || volumeFlushed;
}

} // namespace Win32
