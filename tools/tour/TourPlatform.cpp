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
std::atomic<bool> s_cardWritesFail = false;

// Every file a copy writes takes its time, as on a card, so the transfer can be pictured; or it
// fails, as on a card pulled out halfway.
class SlowCardFile : public QFile
{
public:
    using QFile::QFile;

protected:
    qint64 writeData(const char *data, qint64 length) override
    {
        QThread::msleep(150);
        return s_cardWritesFail ? -1 : QFile::writeData(data, length);
    }
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
    return Platform::bytesAvailable(path);
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
    s_cardWritesFail = fail;
}
