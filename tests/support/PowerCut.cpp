#include "PowerCut.h"

#include "FakePlatform.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {
QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList filesBelow(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files.append(it.next());
    }
    return files;
}
} // namespace

PowerCut::PowerCut(FakePlatform &platform, const QString &root, const QString &unsynced,
                   int cutBefore)
    : m_platform(platform)
    , m_root(QFileInfo(root).canonicalFilePath())
    , m_cutBefore(cutBefore)
{
    const QString fresh = QFileInfo(unsynced).canonicalFilePath() + QLatin1Char('/');
    for (const QString &path : filesBelow(m_root)) {
        m_files.insert(path, {path.startsWith(fresh) ? QByteArray() : contents(path), true});
    }
    MapInstaller::setStepHook(
        [this](const QString &from, const QString &to) { return onStep(from, to); });
    m_platform.onSync = [this](const QString &path, bool folder) {
        onSync(path, folder);
    };
}

PowerCut::~PowerCut()
{
    MapInstaller::setStepHook({});
    m_platform.onSync = {};
}

MapInstaller::Step PowerCut::onStep(const QString &from, const QString &to)
{
    confirmMove();
    if (++m_steps == m_cutBefore) {
        m_reached = true;
        return MapInstaller::Step::Crash;
    }
    m_asked = Move{from, to};
    return MapInstaller::Step::Go;
}

void PowerCut::confirmMove()
{
    if (m_asked && !QFileInfo::exists(m_asked->from) && QFileInfo::exists(m_asked->to)) {
        m_moves.append(*m_asked);
        follow(m_asked->from, m_asked->to);
    }
    m_asked.reset();
}

// The files below `from` are now below `to`.
void PowerCut::follow(const QString &from, const QString &to)
{
    QMap<QString, File> moved;
    for (auto it = m_files.cbegin(); it != m_files.cend(); ++it) {
        const bool below = it.key().startsWith(from + QLatin1Char('/'));
        moved.insert(below ? to + it.key().mid(from.size()) : it.key(), it.value());
    }
    m_files = moved;
}

void PowerCut::onSync(const QString &path, bool folder)
{
    confirmMove();
    if (!folder) {
        m_files[path].data = contents(path);
        return;
    }
    // The file system writes its changes in order: a folder's sync puts every earlier move on the
    // disk, and the entries of that folder.
    for (Move &move : m_moves) {
        move.settled = true;
    }
    const QFileInfoList entries =
        QDir(path).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &entry : entries) {
        m_files[entry.filePath()].entryOnDisk = true;
    }
}

int PowerCut::unsettledMoves() const
{
    return int(std::count_if(m_moves.cbegin(), m_moves.cend(),
                             [](const Move &move) { return !move.settled; }));
}

void PowerCut::cut(int keptMoves)
{
    confirmMove();
    QList<Move> lost;
    for (const Move &move : std::as_const(m_moves)) {
        if (!move.settled && keptMoves-- <= 0) {
            lost.prepend(move);
        }
    }
    for (const Move &move : std::as_const(lost)) {
        if (!QDir().rename(move.to, move.from)) {
            qFatal("cannot take back the move of %s", qPrintable(move.from));
        }
        follow(move.to, move.from);
    }
    for (const QString &path : filesBelow(m_root)) {
        const auto file = m_files.constFind(path);
        QFile written(path);
        if (file == m_files.cend() || !file->entryOnDisk) {
            QFile::remove(path);
        } else if (!written.open(QIODevice::WriteOnly) ||
                   written.write(file->data) != file->data.size()) {
            qFatal("cannot put back %s", qPrintable(path));
        }
    }
}
