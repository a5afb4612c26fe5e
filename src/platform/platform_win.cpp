#include "platform/BoundedProcess.h"
#include "platform/PeVersionReader.h"
#include "platform/platform.h"

#include <QDir>
#include <QProcess>

#include <vector>
#include <windows.h>
#include <winioctl.h>
#include <winver.h>

namespace {

class WindowsPlatform final : public Platform
{
public:
    void preventSleep() override
    {
        SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_AWAYMODE_REQUIRED);
    }

    // ES_CONTINUOUS alone clears what preventSleep() asked for on this thread.
    void allowSleep() override { SetThreadExecutionState(ES_CONTINUOUS); }

    std::optional<QVersionNumber> executableFileVersion(const QString &path) const override
    {
        const QByteArray name = path.toUtf8();
        DWORD handle = 0;
        const DWORD size = GetFileVersionInfoSizeA(name.constData(), &handle);
        if (size == 0) {
            return std::nullopt;
        }
        // The buffer goes on every way out.
        std::vector<char> buffer(size);
        if (!GetFileVersionInfoA(name.constData(), 0, size, buffer.data())) {
            return std::nullopt;
        }
        VS_FIXEDFILEINFO *info = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(buffer.data(), "\\", reinterpret_cast<LPVOID *>(&info), &length) ||
            length == 0 || !info || info->dwSignature != 0xFEEF04BD) {
            return std::nullopt;
        }
        return PeVersionReader::fromFixedFileVersion(info->dwFileVersionMS, info->dwFileVersionLS);
    }

    // taskkill normally ends at once, but it is given its 30 s to start and 30 s to finish
    // without the window freezing meanwhile.
    void closeBaseCamp(QObject *context, std::function<void()> done) override
    {
        BoundedProcess::run(
            QStringLiteral("taskkill"),
            {QStringLiteral("/im"), QStringLiteral("BaseCamp.exe"), QStringLiteral("/f")}, context,
            [done = std::move(done)](bool) { done(); });
    }

    void writeBaseCampDetail(QObject *context, std::function<void()> done) override
    {
        HKEY key = nullptr;
        // Opening, not creating: without BaseCamp's own key there is nothing to set.
        if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Garmin\\BaseCamp\\Settings", 0, KEY_WRITE,
                          &key) == ERROR_SUCCESS) {
            const BYTE detail[4] = {0x07, 0x00, 0x00, 0x00};
            RegSetValueExA(key, "Detail", 0, REG_BINARY, detail, DWORD(sizeof detail));
            RegCloseKey(key);
        }
        finishLater(context, std::move(done));
    }

    // The stored Garmin paths keep their quotes: they make the whole path one program name in
    // the command line that Qt builds.
    bool startDetached(const QString &program) override
    {
        return QProcess::startDetached(program, {});
    }

    QString nativePath(const QString &windowsPath) const override { return windowsPath; }

    bool isRemovableDrive(const QString &rootPath) const override
    {
        const std::wstring root = (rootPath + QLatin1Char('/')).toStdWString();
        const UINT type = GetDriveTypeW(root.c_str());
        if (type == DRIVE_REMOVABLE) {
            return true;
        }
        if (type != DRIVE_FIXED || rootPath.isEmpty()) {
            return false;
        }
        // USB card readers present their media as fixed disks; the bus tells them apart.
        const std::wstring device = QStringLiteral("\\\\.\\%1:").arg(rootPath.at(0)).toStdWString();
        const HANDLE handle = CreateFileW(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, 0, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            return false;
        }
        STORAGE_PROPERTY_QUERY query = {};
        query.PropertyId = StorageDeviceProperty;
        query.QueryType = PropertyStandardQuery;
        STORAGE_DEVICE_DESCRIPTOR descriptor = {};
        DWORD returned = 0;
        const BOOL answered =
            DeviceIoControl(handle, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, &descriptor,
                            sizeof descriptor, &returned, nullptr);
        CloseHandle(handle);
        return answered && descriptor.BusType == BusTypeUsb;
    }

    bool readFromMedium(const QString &path,
                        const std::function<bool(QByteArrayView)> &consume) const override
    {
        // Unbuffered reads bypass the cache that still holds what was just written. They must
        // be whole sectors into sector-aligned memory: 1 MiB from VirtualAlloc is both.
        constexpr DWORD blockSize = 1 << 20;
        const std::wstring name = QDir::toNativeSeparators(path).toStdWString();
        const HANDLE file =
            CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return readFile(path, consume);
        }
        void *block = VirtualAlloc(nullptr, blockSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        bool ok = block != nullptr;
        while (ok) {
            DWORD read = 0;
            if (!ReadFile(file, block, blockSize, &read, nullptr)) {
                ok = false;
            } else if (read == 0) {
                break;
            } else {
                ok = consume(QByteArrayView(static_cast<const char *>(block), read));
            }
        }
        if (block) {
            VirtualFree(block, 0, MEM_RELEASE);
        }
        CloseHandle(file);
        return ok;
    }
};

} // namespace

std::unique_ptr<Platform> createNativePlatform()
{
    return std::make_unique<WindowsPlatform>();
}
