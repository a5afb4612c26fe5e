#include "archive/ArchiveExtractor.h"

#include "archive/ArchiveExtractorPrivate.h"

#include <QThread>

namespace {

// Queues `call` for the worker, with its arguments copied, to run in its thread's event loop.
template <typename Call> void post(ArchiveExtractorPrivate *d, Call &&call)
{
    QMetaObject::invokeMethod(d, std::forward<Call>(call), Qt::QueuedConnection);
}

} // namespace

ArchiveExtractor::ArchiveExtractor(QObject *parent, bool singleThreaded)
    : QObject(parent)
    , m_d(new ArchiveExtractorPrivate)
{
    if (!singleThreaded) {
        m_thread = new QThread(this);
        m_thread->setObjectName(QStringLiteral("ArchiveExtractor"));
        m_thread->start();
        m_d->moveToThread(m_thread);
    }
    using D = ArchiveExtractorPrivate;
    const auto type = Qt::DirectConnection;
    connect(m_d, &D::started, this, &ArchiveExtractor::started, type);
    connect(m_d, &D::canceled, this, &ArchiveExtractor::canceled, type);
    connect(m_d, &D::paused, this, &ArchiveExtractor::paused, type);
    connect(m_d, &D::resumed, this, &ArchiveExtractor::resumed, type);
    connect(m_d, &D::finished, this, &ArchiveExtractor::finished, type);
    connect(m_d, &D::error, this, &ArchiveExtractor::error, type);
    connect(m_d, &D::progress, this, &ArchiveExtractor::progress, type);
    connect(m_d, &D::getInfoRequirePassword, this, &ArchiveExtractor::getInfoRequirePassword, type);
    connect(m_d, &D::extractionRequirePassword, this, &ArchiveExtractor::extractionRequirePassword,
            type);
    connect(m_d, &D::info, this, &ArchiveExtractor::info, type);
}

ArchiveExtractor::ArchiveExtractor(const QString &archivePath, const QString &outputDirectory,
                                   QObject *parent, bool singleThreaded)
    : ArchiveExtractor(parent, singleThreaded)
{
    setArchive(archivePath);
    setOutputDirectory(outputDirectory);
}

ArchiveExtractor::~ArchiveExtractor()
{
    // Whatever the worker still emits must not reach an object that is going away.
    disconnect(m_d, nullptr, this, nullptr);
    if (m_thread) {
        // Stops a run at its next block: the caller's thread would otherwise wait here for the
        // rest of the archive, with a window that no longer repaints.
        m_thread->requestInterruption();
        m_thread->quit();
        m_thread->wait();
        delete m_d;
    } else if (m_d->abandon()) {
        delete m_d;
    }
}

void ArchiveExtractor::setArchive(QIODevice *archive)
{
    post(m_d, [d = m_d, archive] { d->setArchive(archive); });
}

void ArchiveExtractor::setArchive(const QString &archivePath)
{
    post(m_d, [d = m_d, archivePath] { d->setArchive(archivePath); });
}

void ArchiveExtractor::setArchive(const QString &archivePath, const QString &outputDirectory)
{
    post(m_d,
         [d = m_d, archivePath, outputDirectory] { d->setArchive(archivePath, outputDirectory); });
}

void ArchiveExtractor::setBlockSize(int size)
{
    post(m_d, [d = m_d, size] { d->setBlockSize(size); });
}

void ArchiveExtractor::setCalculateProgress(bool calculate)
{
    post(m_d, [d = m_d, calculate] { d->setCalculateProgress(calculate); });
}

void ArchiveExtractor::setFilesAndFoldersOnly(bool only)
{
    post(m_d, [d = m_d, only] { d->setFilesAndFoldersOnly(only); });
}

void ArchiveExtractor::setOutputDirectory(const QString &directory)
{
    post(m_d, [d = m_d, directory] { d->setOutputDirectory(directory); });
}

void ArchiveExtractor::setPassword(const QString &password)
{
    post(m_d, [d = m_d, password] { d->setPassword(password); });
}

void ArchiveExtractor::addFilter(const QString &entryPath)
{
    post(m_d, [d = m_d, entryPath] { d->addFilter(entryPath); });
}

void ArchiveExtractor::addFilter(const QStringList &entryPaths)
{
    post(m_d, [d = m_d, entryPaths] { d->addFilter(entryPaths); });
}

void ArchiveExtractor::clear()
{
    post(m_d, [d = m_d] { d->clear(); });
}

void ArchiveExtractor::getInfo()
{
    post(m_d, [d = m_d] { d->getInfo(); });
}

void ArchiveExtractor::start()
{
    post(m_d, [d = m_d] { d->start(); });
}

void ArchiveExtractor::cancel()
{
    post(m_d, [d = m_d] { d->cancel(); });
}

void ArchiveExtractor::pause()
{
    post(m_d, [d = m_d] { d->pause(); });
}

void ArchiveExtractor::resume()
{
    post(m_d, [d = m_d] { d->resume(); });
}
