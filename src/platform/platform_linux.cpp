#include "platform/BoundedProcess.h"
#include "platform/LogindSleepInhibitor.h"
#include "platform/PeVersionReader.h"
#include "platform/SysfsCardReaders.h"
#include "platform/WineEnvironment.h"
#include "platform/platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStorageInfo>

#include <fcntl.h>
#include <unistd.h>

namespace {

const QString kBaseCampSettingsKey = QStringLiteral(R"(HKCU\Software\Garmin\BaseCamp\Settings)");

// Garmin's programs are Windows programs; on Linux they run under Wine, so closing BaseCamp and
// its setting go through Wine's own taskkill and reg tools, and are skipped without Wine or
// without its prefix.
class LinuxPlatform final : public Platform
{
public:
    void preventSleep() override { m_inhibitor.acquire(); }
    void allowSleep() override { m_inhibitor.release(); }

    std::optional<QVersionNumber> executableFileVersion(const QString &path) const override
    {
        return PeVersionReader::fromFile(path);
    }

    void closeBaseCamp(QObject *context, std::function<void()> done) override
    {
        const WineEnvironment wine = WineEnvironment::fromSystem();
        if (!wine.hasPrefix()) {
            finishLater(context, std::move(done));
            return;
        }
        run(wine.toolCommand(
                QStringLiteral("taskkill"),
                {QStringLiteral("/im"), QStringLiteral("BaseCamp.exe"), QStringLiteral("/f")}),
            context, [done = std::move(done)](bool) { done(); });
    }

    void writeBaseCampDetail(QObject *context, std::function<void()> done) override
    {
        const WineEnvironment wine = WineEnvironment::fromSystem();
        if (!wine.hasPrefix()) {
            finishLater(context, std::move(done));
            return;
        }
        // "reg add" would create a missing key; BaseCamp's own key must exist already, as on
        // Windows, so it is looked for first.
        const WineEnvironment::Command query = wine.toolCommand(
            QStringLiteral("reg"), {QStringLiteral("query"), kBaseCampSettingsKey});
        const WineEnvironment::Command add = wine.toolCommand(
            QStringLiteral("reg"),
            {QStringLiteral("add"), kBaseCampSettingsKey, QStringLiteral("/v"),
             QStringLiteral("Detail"), QStringLiteral("/t"), QStringLiteral("REG_BINARY"),
             QStringLiteral("/d"), QStringLiteral("07000000"), QStringLiteral("/f")});
        run(query, context, [context, add, done = std::move(done)](bool keyExists) mutable {
            if (!keyExists) {
                done();
                return;
            }
            run(add, context, [done = std::move(done)](bool) { done(); });
        });
    }

    bool startDetached(const QString &program) override
    {
        const auto command = WineEnvironment::fromSystem().launchCommand(program);
        return command && QProcess::startDetached(command->program, command->arguments);
    }

    QString nativePath(const QString &windowsPath) const override
    {
        return WineEnvironment::fromSystem().nativePath(windowsPath);
    }

    // BaseCamp and MapInstall under Wine read the maps of the prefix's Windows user. With Wine
    // installed that is where they will be, even while the prefix is still to be made.
    QString windowsProgramsDataFolder() const override
    {
        const WineEnvironment wine = WineEnvironment::fromSystem();
        return wine.hasWine() ? wine.roamingAppDataFolder() : QString();
    }

    bool isRemovableDrive(const QString &rootPath) const override
    {
        return SysfsCardReaders().isCardReader(deviceNode(rootPath));
    }

    // udev names each file system's UUID (a FAT card's volume serial) by a link to its device.
    QString volumeIdentity(const QString &rootPath) const override
    {
        const QString node = deviceNode(rootPath);
        const QFileInfoList links =
            QDir(QStringLiteral("/dev/disk/by-uuid"))
                .entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        for (const QFileInfo &link : links) {
            if (!node.isEmpty() && link.canonicalFilePath() == node) {
                return link.fileName();
            }
        }
        return {};
    }

    bool readFromMedium(const QString &path,
                        const std::function<bool(QByteArrayView)> &consume) const override
    {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            return false;
        }
        // Pages still cached from the copy would answer the reads: each window of the file is
        // written out to the card and dropped from memory before it is read, so what is read
        // comes from the card. The whole file starts going out at once, and the next window is
        // fetched while the caller works through the one before (the checksum is slower than
        // most cards), so writing, reading and checking overlap.
        ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
        constexpr qint64 window = qint64(32) << 20;
        qint64 position = 0;
        qint64 requested = 0;
        const auto fetchAhead = [&] {
            if (requested - position < window / 2) {
                ::sync_file_range(fd, requested, window,
                                  SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE |
                                      SYNC_FILE_RANGE_WAIT_AFTER);
                ::posix_fadvise(fd, requested, window, POSIX_FADV_DONTNEED);
                ::posix_fadvise(fd, requested, window, POSIX_FADV_WILLNEED);
                requested += window;
            }
        };
        fetchAhead();
        const bool read = readFile(path, [&](QByteArrayView block) {
            position += block.size();
            fetchAhead();
            return consume(block);
        });
        // Written out for good, with what the file system keeps about it.
        const bool durable = ::fsync(fd) == 0;
        ::close(fd);
        return read && durable;
    }

private:
    // The device node may be named through a link (/dev/disk/by-uuid/...).
    static QString deviceNode(const QString &rootPath)
    {
        const QString device = QString::fromLocal8Bit(QStorageInfo(rootPath).device());
        const QString node = QFileInfo(device).canonicalFilePath();
        return node.isEmpty() ? device : node;
    }

    static void run(const WineEnvironment::Command &command, QObject *context,
                    BoundedProcess::Done done)
    {
        BoundedProcess::run(command.program, command.arguments, context, std::move(done));
    }

    LogindSleepInhibitor m_inhibitor;
};

} // namespace

namespace {
bool syncPath(const QString &path, int flags)
{
    // O_NOFOLLOW: a link put in place of the file is not ours to flush through.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | flags);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}
} // namespace

bool Platform::syncFile(const QString &path)
{
    return syncPath(path, 0);
}

// A rename or a new file is only in the folder's entries, which fsync of the file itself does not
// write out.
bool Platform::syncFolder(const QString &path)
{
    return syncPath(path, O_DIRECTORY);
}

Qt::CaseSensitivity Platform::fileNameCase()
{
    return Qt::CaseSensitive;
}

std::unique_ptr<Platform> createNativePlatform()
{
    return std::make_unique<LinuxPlatform>();
}
