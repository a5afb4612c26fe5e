// Any archive unpacked into a folder: nothing may be written outside it, and the folder itself
// keeps its mode, its times and its existence.

#include "archive/ArchiveExtractor.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>

namespace {
QTemporaryDir *s_root = nullptr;

// Everything below `folder` but `skip`, with what a change would alter.
QStringList snapshot(const QString &folder, const QString &skip)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        if (info.filePath() == skip || info.filePath().startsWith(skip + QLatin1Char('/'))) {
            continue;
        }
        entries << QStringLiteral("%1 %2 %3")
                       .arg(info.filePath())
                       .arg(info.size())
                       .arg(int(info.permissions()));
    }
    entries.sort();
    return entries;
}

void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "extractor fuzz target: %s\n", what);
        __builtin_trap();
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    new QCoreApplication(*argc, *argv);
    s_root = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString work = s_root->filePath(QStringLiteral("work"));
    const QString out = work + QStringLiteral("/out");
    QDir(work).removeRecursively();
    QDir().mkpath(out);
    QDir().mkpath(work + QStringLiteral("/outside"));
    QFile victim(work + QStringLiteral("/outside/victim"));
    victim.open(QIODevice::WriteOnly);
    victim.write("victim\n");
    victim.close();
    QFile archiveFile(work + QStringLiteral("/archive"));
    archiveFile.open(QIODevice::WriteOnly);
    archiveFile.write(reinterpret_cast<const char *>(data), qint64(size));
    archiveFile.close();

    const QStringList before = snapshot(work, out);
    const QFileInfo outBefore(out);
    {
        ArchiveExtractor extractor(archiveFile.fileName(), out);
        bool ended = false;
        const auto end = [&ended] {
            ended = true;
        };
        QObject::connect(&extractor, &ArchiveExtractor::finished, end);
        QObject::connect(&extractor, &ArchiveExtractor::error, end);
        extractor.start();
        while (!ended) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        }
    }
    const QFileInfo outAfter(out);
    check(outAfter.isDir() && !outAfter.isSymLink(), "the output folder is gone or replaced");
    check(outAfter.permissions() == outBefore.permissions(), "the output folder's mode changed");
    check(snapshot(work, out) == before, "something outside the output folder changed");
    // A fuzzed archive may leave folders without permissions; the next run starts afresh.
    QDirIterator dirs(out, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                      QDirIterator::Subdirectories);
    while (dirs.hasNext()) {
        QFile::setPermissions(dirs.next(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return 0;
}
