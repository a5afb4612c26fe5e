#include "platform/BoundedProcess.h"
#include "platform/PeVersionReader.h"
#include "platform/Win32.h"
#include "platform/platform.h"

#include <QDir>
#include <QProcess>

namespace {

std::wstring nativeWide(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

// L"E:\\" for "E:/" or "E:".
std::wstring nativeRoot(const QString &rootPath)
{
    std::wstring root = nativeWide(rootPath);
    if (root.empty() || root.back() != L'\\') {
        root += L'\\';
    }
    return root;
}

// The Win32 calls themselves are in Win32.cpp, which is built and exercised without Qt too.
class WindowsPlatform final : public Platform
{
public:
    void preventSleep() override { Win32::preventSleep(); }
    void allowSleep() override { Win32::allowSleep(); }

    std::optional<QVersionNumber> executableFileVersion(const QString &path) const override
    {
        const std::optional<Win32::FileVersion> version = Win32::fileVersion(nativeWide(path));
        if (!version) {
            return std::nullopt;
        }
        return PeVersionReader::fromFixedFileVersion(version->mostSignificant,
                                                     version->leastSignificant);
    }

    // taskkill normally ends at once, but it is given its 30 s to start and 30 s to finish
    // without the window freezing meanwhile. By its full path: a "taskkill.exe" planted in the
    // current folder would otherwise be found first.
    void closeBaseCamp(QObject *context, std::function<void()> done) override
    {
        const QString system = QString::fromStdWString(Win32::systemFolder());
        if (system.isEmpty()) {
            finishLater(context, std::move(done));
            return;
        }
        BoundedProcess::run(
            QDir(QDir::fromNativeSeparators(system)).filePath(QStringLiteral("taskkill.exe")),
            {QStringLiteral("/im"), QStringLiteral("BaseCamp.exe"), QStringLiteral("/f")}, context,
            [done = std::move(done)](bool) { done(); });
    }

    void writeBaseCampDetail(QObject *context, std::function<void()> done) override
    {
        Win32::writeBaseCampDetail();
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
        return Win32::isRemovableDrive(nativeRoot(rootPath));
    }

    QString volumeIdentity(const QString &rootPath) const override
    {
        const std::optional<std::uint32_t> serial = Win32::volumeSerial(nativeRoot(rootPath));
        return serial ? QStringLiteral("%1").arg(*serial, 8, 16, QLatin1Char('0')).toUpper()
                      : QString();
    }

    bool readFromMedium(const QString &path,
                        const std::function<bool(QByteArrayView)> &consume) const override
    {
        const Win32::MediumRead read =
            Win32::readUnbuffered(nativeWide(path), [&consume](const char *data, std::size_t size) {
                return consume(QByteArrayView(data, qsizetype(size)));
            });
        if (read == Win32::MediumRead::NotOpened) {
            return readFile(path, consume);
        }
        return read == Win32::MediumRead::Complete;
    }
};

} // namespace

bool Platform::syncFile(const QString &path)
{
    return Win32::flushFile(nativeWide(path));
}

bool Platform::syncFolder(const QString &path)
{
    return Win32::flushFolder(nativeWide(path));
}

Qt::CaseSensitivity Platform::fileNameCase()
{
    return Qt::CaseInsensitive;
}

std::unique_ptr<Platform> createNativePlatform()
{
    return std::make_unique<WindowsPlatform>();
}
