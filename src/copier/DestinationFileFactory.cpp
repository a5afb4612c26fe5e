#include "copier/DestinationFileFactory.h"

#include <QMutex>

namespace {
QMutex s_mutex;
DestinationFileFactory::Factory s_factory;
} // namespace

std::unique_ptr<QFile> DestinationFileFactory::create(const QString &path)
{
    Factory factory;
    {
        QMutexLocker locker(&s_mutex);
        factory = s_factory;
    }
    return factory ? factory(path) : std::make_unique<QFile>(path);
}

void DestinationFileFactory::setFactory(Factory factory)
{
    QMutexLocker locker(&s_mutex);
    s_factory = std::move(factory);
}
