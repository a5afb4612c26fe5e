#include "platform/BoundedProcess.h"
#include "platform/PeVersionReader.h"
#include "platform/platform.h"

#include <QProcess>

#include <vector>
#include <windows.h>
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
};

} // namespace

std::unique_ptr<Platform> createNativePlatform()
{
    return std::make_unique<WindowsPlatform>();
}
