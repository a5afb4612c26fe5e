#include "TourPlatform.h"

#include "copier/DestinationFileFactory.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <atomic>

namespace {
// How many of the next files written onto a card fail; -1: all of them.
std::atomic<int> s_failingCardFiles = 0;

bool nextCardFileFails()
{
    int failing = s_failingCardFiles;
    while (failing > 0 && !s_failingCardFiles.compare_exchange_weak(failing, failing - 1)) {
    }
    return failing != 0;
}

// Every file a copy writes takes its time, as on a card, so the transfer can be pictured; or a
// file written onto a card fails, as on a card pulled out halfway.
class SlowCardFile : public QFile
{
public:
    explicit SlowCardFile(const QString &path)
        : QFile(path)
        , m_fails(path.contains(QLatin1String("/garmin/")) && nextCardFileFails())
    {
    }

protected:
    qint64 writeData(const char *data, qint64 length) override
    {
        QThread::msleep(150);
        return m_fails ? -1 : QFile::writeData(data, length);
    }

private:
    const bool m_fails;
};
} // namespace

TourPlatform::TourPlatform()
    : m_driveC(QDir::homePath() + QStringLiteral("/drive_c"))
{
    Platform::setInstance(this);
    DestinationFileFactory::setFactory(
        [](const QString &path) { return std::make_unique<SlowCardFile>(path); });
}

TourPlatform::~TourPlatform()
{
    DestinationFileFactory::setFactory({});
    Platform::setInstance(nullptr);
}

QString TourPlatform::baseCampExecutable() const
{
    return nativePath(QStringLiteral("C:/Program Files (x86)/Garmin/BaseCamp/BaseCamp.exe"));
}

bool TourPlatform::setBaseCamp(const QVersionNumber &version)
{
    m_baseCampVersion = version;
    const QString executable = baseCampExecutable();
    if (version.isNull()) {
        return !QFileInfo::exists(executable) || QFile::remove(executable);
    }
    QFile file(executable);
    return QDir().mkpath(QFileInfo(executable).path()) && file.open(QIODevice::WriteOnly);
}

std::optional<QVersionNumber> TourPlatform::executableFileVersion(const QString &path) const
{
    if (path == baseCampExecutable() && !m_baseCampVersion.isNull()) {
        return m_baseCampVersion;
    }
    return std::nullopt;
}

void TourPlatform::closeBaseCamp(QObject *context, std::function<void()> done)
{
    finishLater(context, std::move(done));
}

void TourPlatform::writeBaseCampDetail(QObject *context, std::function<void()> done)
{
    finishLater(context, std::move(done));
}

bool TourPlatform::startDetached(const QString &)
{
    return true;
}

QString TourPlatform::nativePath(const QString &windowsPath) const
{
    if (windowsPath.startsWith(QLatin1String("C:/"), Qt::CaseInsensitive)) {
        return m_driveC + windowsPath.mid(2);
    }
    return windowsPath;
}

bool TourPlatform::removeFolder(const QString &path)
{
    {
        std::unique_lock lock(m_removalMutex);
        m_removalWaiting = m_removalsHeld;
        m_removalReleased.wait(lock, [this] { return !m_removalsHeld; });
        m_removalWaiting = false;
    }
    if (protectedFolders.contains(QFileInfo(path).fileName())) {
        return false;
    }
    return Platform::removeFolder(path);
}

void TourPlatform::holdRemovals()
{
    const std::lock_guard lock(m_removalMutex);
    m_removalsHeld = true;
}

void TourPlatform::waitForHeldRemoval(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        {
            const std::lock_guard lock(m_removalMutex);
            if (m_removalWaiting) {
                return;
            }
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

void TourPlatform::releaseRemovals()
{
    {
        const std::lock_guard lock(m_removalMutex);
        m_removalsHeld = false;
    }
    m_removalReleased.notify_all();
}

qint64 TourPlatform::bytesAvailable(const QString &path) const
{
    if (lowSpaceAnswers > 0) {
        --lowSpaceAnswers;
        return 0;
    }
    return fullFolders.contains(path) ? 0 : Platform::bytesAvailable(path);
}

QString TourPlatform::volumeIdentity(const QString &rootPath) const
{
    return QFileInfo(rootPath).fileName();
}

QList<Platform::Volume> TourPlatform::mountedVolumes() const
{
    return card ? QList<Volume>{*card} : QList<Volume>{};
}

bool TourPlatform::readFromMedium(const QString &path,
                                  const std::function<bool(QByteArrayView)> &consume) const
{
    return readFile(path, [&consume](QByteArrayView block) {
        QThread::msleep(150);
        return consume(block);
    });
}

void TourPlatform::insertCard(const QString &root, const QString &fileSystemType)
{
    card = Volume{root,  QStringLiteral("HALVORN"), true,          true,
                  false, qint64(32) << 30,          fileSystemType};
}

void TourPlatform::setCardWritesFail(bool fail)
{
    s_failingCardFiles = fail ? -1 : 0;
}

void TourPlatform::failCardFiles(int count)
{
    s_failingCardFiles = count;
}
