#include "FakePlatform.h"

#include "PeFileBuilder.h"
#include "SampleMapFiles.h"
#include "TestFiles.h"
#include "maps/CardImage.h"
#include "platform/PeVersionReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QThread>

#include <utility>

FakePlatform::FakePlatform()
    : driveC(QDir::homePath() + QStringLiteral("/drive_c"))
{
    Platform::setInstance(this);
}

FakePlatform::~FakePlatform()
{
    releaseRemovals();
    Platform::setInstance(nullptr);
}

void FakePlatform::preventSleep()
{
    keptAwake = true;
}

void FakePlatform::allowSleep()
{
    keptAwake = false;
    ++sleepsAllowed;
}

std::optional<QVersionNumber> FakePlatform::executableFileVersion(const QString &path) const
{
    return PeVersionReader::fromFile(path);
}

bool FakePlatform::setBaseCamp(const QVersionNumber &version)
{
    const QString executable =
        nativePath(QStringLiteral("C:/Program Files (x86)/Garmin/BaseCamp/BaseCamp.exe"));
    if (version.isNull()) {
        return !QFileInfo::exists(executable) || QFile::remove(executable);
    }
    return PeFileBuilder::writeExecutable(executable, version);
}

void FakePlatform::closeBaseCamp(QObject *context, std::function<void()> done)
{
    calls.append(QStringLiteral("closeBaseCamp"));
    report(context, std::move(done));
}

void FakePlatform::writeBaseCampDetail(QObject *context, std::function<void()> done)
{
    calls.append(QStringLiteral("writeBaseCampDetail"));
    report(context, std::move(done));
}

bool FakePlatform::startDetached(const QString &program)
{
    startedPrograms.append(program);
    return true;
}

QString FakePlatform::nativePath(const QString &windowsPath) const
{
    if (windowsPath.startsWith(QLatin1String("C:/"), Qt::CaseInsensitive)) {
        return driveC + windowsPath.mid(2);
    }
    return windowsPath;
}

bool FakePlatform::removeFolder(const QString &path)
{
    if (m_removalsHeld) {
        ++m_heldRemovals;
        m_removalsReleased.acquire();
        m_removalsReleased.release(); // for the next one
    }
    return !undeletableFolders.contains(QFileInfo(path).fileName()) && Platform::removeFolder(path);
}

void FakePlatform::holdRemovals()
{
    m_removalsReleased.tryAcquire(m_removalsReleased.available());
    m_heldRemovals = 0;
    m_removalsHeld = true;
}

void FakePlatform::waitForHeldRemoval(int timeoutMs)
{
    QTest::qWaitFor([this] { return m_heldRemovals > 0; }, timeoutMs);
}

void FakePlatform::releaseRemovals()
{
    m_removalsHeld = false;
    m_removalsReleased.release();
}

void FakePlatform::report(QObject *context, std::function<void()> done)
{
    if (holdReports) {
        m_heldReports.append({context, std::move(done)});
        return;
    }
    finishLater(context, std::move(done));
}

void FakePlatform::releaseHeldReports()
{
    const auto held = std::exchange(m_heldReports, {});
    for (const auto &[context, done] : held) {
        if (context) {
            finishLater(context, done);
        }
    }
}

qint64 FakePlatform::bytesAvailable(const QString &path) const
{
    spaceQueries.append(path);
    if (lowSpaceAnswers > 0) {
        --lowSpaceAnswers;
        return 0;
    }
    if (freeBytesAt.contains(path)) {
        return freeBytesAt.value(path);
    }
    return freeBytes ? *freeBytes : Platform::bytesAvailable(path);
}

QList<Platform::Volume> FakePlatform::mountedVolumes() const
{
    return volumes;
}

bool FakePlatform::isRemovableDrive(const QString &rootPath) const
{
    return !fixedDrives.contains(rootPath);
}

QString FakePlatform::volumeIdentity(const QString &rootPath) const
{
    return volumeIds.value(rootPath);
}

bool FakePlatform::syncFolder(const QString &path)
{
    const QMutexLocker locker(&m_syncMutex);
    m_syncedFolders.append(path);
    return Platform::syncFolder(path);
}

QStringList FakePlatform::syncedFolders() const
{
    const QMutexLocker locker(&m_syncMutex);
    return m_syncedFolders;
}

bool FakePlatform::readFromMedium(const QString &path,
                                  const std::function<bool(QByteArrayView)> &consume) const
{
    mediumReads.append(path);
    bool first = true;
    return readFile(path, [&](QByteArrayView block) {
        QThread::msleep(mediumDelayMs);
        if (!mediumDiffers || !first || block.isEmpty()) {
            return consume(block);
        }
        first = false;
        QByteArray changed = block.toByteArray();
        changed[0] = char(changed.at(0) ^ 0x5a);
        return consume(changed);
    });
}

Platform::Volume &FakePlatform::insertCard(const QString &root, std::optional<int> familyId,
                                           const QString &name)
{
    QDir().mkpath(root + QStringLiteral("/garmin"));
    if (familyId &&
        !TestFiles::write(CardImage::path(root), SampleMapFiles::cardImage(*familyId))) {
        qFatal("cannot write a card image under %s", qPrintable(root));
    }
    if (oneReader) {
        volumes.clear();
    }
    removeCard(root);
    if (!volumeIds.contains(root)) {
        volumeIds.insert(root, QFileInfo(root).fileName() + QStringLiteral("-1A2B"));
    }
    volumes.append({root, name, true, true, false, qint64(64) << 30, QStringLiteral("exfat")});
    return volumes.last();
}

void FakePlatform::removeCard(const QString &root)
{
    volumes.removeIf([&](const Volume &volume) { return volume.rootPath == root; });
}

FaultyDestinations::State &FakePlatform::destinations()
{
    if (!m_destinations) {
        m_destinations = std::make_unique<FaultyDestinations>();
    }
    return *m_destinations->state;
}

void FakePlatform::failCardFiles(int count)
{
    FaultyDestinations::State &state = destinations();
    state.cardFolder = volumes.isEmpty() ? QString() : volumes.first().rootPath;
    state.capacity = count < 0 ? 0 : -1;
    state.failingFiles = qMax(count, 0);
}
