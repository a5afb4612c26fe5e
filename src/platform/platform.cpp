#include "platform/platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QObject>
#include <QStorageInfo>

namespace {
Platform *s_override = nullptr;
} // namespace

Platform *Platform::instance()
{
    if (s_override) {
        return s_override;
    }
    static const std::unique_ptr<Platform> native = createNativePlatform();
    return native.get();
}

void Platform::setInstance(Platform *platform)
{
    s_override = platform;
}

void Platform::finishLater(QObject *context, std::function<void()> done)
{
    // Queued, so the caller never finds itself re-entered from inside its own request.
    QMetaObject::invokeMethod(context, std::move(done), Qt::QueuedConnection);
}

QList<Platform::Volume> Platform::mountedVolumes() const
{
    QList<Volume> volumes;
    const QList<QStorageInfo> mounted = QStorageInfo::mountedVolumes();
    for (const QStorageInfo &storage : mounted) {
        volumes.append({storage.rootPath(), storage.name(), storage.isValid(), storage.isReady(),
                        storage.isReadOnly(), storage.bytesAvailable(),
                        QString::fromUtf8(storage.fileSystemType())});
    }
    return volumes;
}

std::optional<Platform::Volume> Platform::mountedVolume(const QString &rootPath) const
{
    const QList<Volume> volumes = mountedVolumes();
    for (const Volume &volume : volumes) {
        if (volume.rootPath == rootPath) {
            return volume;
        }
    }
    return std::nullopt;
}

QStringList Platform::volumesHolding(const QStringList &paths) const
{
    QStringList roots;
    const QList<Volume> volumes = mountedVolumes();
    for (const Volume &volume : volumes) {
        roots.append(volume.rootPath);
    }
    QStringList holding;
    for (const QString &path : paths) {
        if (path.isEmpty()) {
            continue;
        }
        // A folder not made yet lives where the nearest existing folder above it lives.
        QString existing = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
        while (!QFileInfo::exists(existing) && QFileInfo(existing).path() != existing) {
            existing = QFileInfo(existing).path();
        }
        for (const QString &form : {existing, QFileInfo(existing).canonicalFilePath()}) {
            const QString root = volumeHolding(form, roots);
            if (!root.isEmpty() && !holding.contains(root)) {
                holding.append(root);
            }
        }
    }
    return holding;
}

QString Platform::volumeHolding(const QString &path, const QStringList &roots)
{
    QString best;
    for (const QString &root : roots) {
        const bool holds = !root.isEmpty() && path.startsWith(root, Qt::CaseInsensitive) &&
                           (path.size() == root.size() || root.endsWith(QLatin1Char('/')) ||
                            path.at(root.size()) == QLatin1Char('/'));
        if (holds && root.size() > best.size()) {
            best = root;
        }
    }
    return best;
}

QString Platform::volumeIdentity(const QString &) const
{
    return {};
}

bool Platform::readFromMedium(const QString &path,
                              const std::function<bool(QByteArrayView)> &consume) const
{
    return readFile(path, consume);
}

bool Platform::readFile(const QString &path, const std::function<bool(QByteArrayView)> &consume)
{
    constexpr qint64 blockSize = 1 << 20;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        return false;
    }
    QByteArray block(blockSize, Qt::Uninitialized);
    for (;;) {
        const qint64 read = file.read(block.data(), blockSize);
        if (read < 0) {
            return false;
        }
        if (read == 0) {
            return true;
        }
        if (!consume(QByteArrayView(block.constData(), read))) {
            return false;
        }
    }
}

QString Platform::windowsProgramsDataFolder() const
{
    return {};
}

qint64 Platform::bytesAvailable(const QString &path) const
{
    // A folder about to be made (the maps folder on a first install) lives on its parent's volume.
    QString existing = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    while (!QFileInfo::exists(existing)) {
        const QString parent = QFileInfo(existing).path();
        if (parent == existing) {
            return -1;
        }
        existing = parent;
    }
    const QStorageInfo volume(existing);
    return volume.isValid() ? volume.bytesAvailable() : -1;
}

bool Platform::removeFolder(const QString &path)
{
    // removeRecursively() would empty the folder a link points at, wherever that lies. A link
    // to a folder is a file on Linux and a directory entry on Windows.
    const QFileInfo folder(path);
    if (folder.isSymLink() || folder.isJunction()) {
        return QFile::remove(path) || QDir().rmdir(path);
    }
    return QDir(path).removeRecursively();
}
