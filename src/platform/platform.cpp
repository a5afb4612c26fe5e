#include "platform/platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QObject>

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
