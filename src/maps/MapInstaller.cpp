#include "maps/MapInstaller.h"

#include "maps/InstalledMaps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

namespace {
MapInstaller::StepHook s_stepHook;

// Kept beside the download folder, not in it: whatever an archive unpacks there can never pass
// for a journal of ours.
const QString journalSuffix = QStringLiteral(".journal");
// Inside the download folder, which is on the maps folder's volume: setting a map aside is a
// rename, and the folder's name says what it holds.
const QString setAsideName = QStringLiteral("set-aside-by-installer");

QString canonicalOrClean(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
}

// A journal path must lead inside the folder it is read against, whatever the file says.
bool isSafeRelativePath(const QString &path)
{
    if (path.isEmpty() || QDir::isAbsolutePath(path) || QDir::cleanPath(path) != path) {
        return false;
    }
    const QStringList parts = path.split(QLatin1Char('/'));
    return !parts.contains(QStringLiteral("..")) && !parts.contains(QStringLiteral("."));
}

bool isSafeName(const QString &name)
{
    return isSafeRelativePath(name) && !name.contains(QLatin1Char('/')) &&
           !name.contains(QLatin1Char('\\'));
}

struct Journal
{
    bool committed = false;
    QList<std::pair<int, QString>> setAside;    // number in the set-aside folder, original place
    QList<std::pair<QString, QString>> movedIn; // place in the download folder, name in the maps
};

Journal readJournal(const QString &path)
{
    Journal journal;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return journal;
    }
    while (!file.atEnd()) {
        const QJsonArray entry = QJsonDocument::fromJson(file.readLine()).array();
        const QString kind = entry.at(0).toString();
        if (kind == QLatin1String("done")) {
            journal.committed = true;
        } else if (kind == QLatin1String("aside") && entry.at(1).isDouble() &&
                   isSafeRelativePath(entry.at(2).toString())) {
            journal.setAside.append({entry.at(1).toInt(), entry.at(2).toString()});
        } else if (kind == QLatin1String("in") && isSafeRelativePath(entry.at(1).toString()) &&
                   isSafeName(entry.at(2).toString())) {
            journal.movedIn.append({entry.at(1).toString(), entry.at(2).toString()});
        }
    }
    return journal;
}
} // namespace

void MapInstaller::setStepHook(StepHook hook)
{
    s_stepHook = std::move(hook);
}

MapInstaller::MapInstaller(const QString &mapsFolder)
    : m_mapsFolder(mapsFolder.isEmpty() ? QString() : canonicalOrClean(mapsFolder))
    , m_downloadFolder(m_mapsFolder.isEmpty()
                           ? QString()
                           : canonicalOrClean(InstalledMaps::downloadFolder(m_mapsFolder)))
{
}

QString MapInstaller::setAsideFolder() const
{
    return m_downloadFolder + QLatin1Char('/') + setAsideName;
}

QString MapInstaller::journalPath() const
{
    return m_downloadFolder + journalSuffix;
}

bool MapInstaller::isInside(const QString &path, const QString &folder)
{
    return path.startsWith(folder + QLatin1Char('/')) && path.size() > folder.size() + 1;
}

bool MapInstaller::journal(const QJsonArray &entry)
{
    QFile file(journalPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        return false;
    }
    const QByteArray line = QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n';
    return file.write(line) == line.size() && file.flush();
}

MapInstaller::Step MapInstaller::move(const QString &from, const QString &to)
{
    const Step step = s_stepHook ? s_stepHook(from, to) : Step::Go;
    if (step != Step::Go) {
        return step;
    }
    // Never onto an existing folder: a rename there would merge or replace it.
    if (QFileInfo::exists(to) || !QDir().rename(from, to)) {
        return Step::Fail;
    }
    return Step::Go;
}

MapInstaller::Result MapInstaller::install(const MapInstallPlan &plan)
{
    if (m_mapsFolder.isEmpty()) {
        return {false, QString()};
    }
    // What an earlier run left must be settled first, or its maps could be lost with it.
    if (!recover()) {
        return {false, setAsideName};
    }
    for (const QString &folder : plan.dropped) {
        if (isInside(folder, m_downloadFolder)) {
            QDir(folder).removeRecursively();
        }
    }

    QStringList superseded;
    for (const QString &folder : plan.superseded) {
        // Never the maps folder itself nor anything of the download's.
        if (isInside(folder, m_mapsFolder) && !isInside(folder, m_downloadFolder) &&
            folder != m_downloadFolder) {
            superseded.append(folder);
        }
    }
    QStringList incoming;
    for (const QString &folder : plan.incoming) {
        if (!isInside(folder, m_downloadFolder) || isInside(folder, setAsideFolder()) ||
            folder == setAsideFolder()) {
            continue;
        }
        // A folder of the same name that is not being replaced stays: say so before touching
        // anything.
        const QString target = m_mapsFolder + QLatin1Char('/') + QFileInfo(folder).fileName();
        if (QFileInfo::exists(target) && !superseded.contains(target)) {
            return {false, QFileInfo(folder).fileName()};
        }
        incoming.append(folder);
    }

    // Anything here now came with the archive, not from us.
    QDir(setAsideFolder()).removeRecursively();
    if (!QDir().mkpath(setAsideFolder())) {
        return {false, setAsideName};
    }
    const auto fail = [this](const QString &folder) -> Result {
        recover();
        return {false, QFileInfo(folder).fileName()};
    };
    for (qsizetype i = 0; i < superseded.size(); ++i) {
        const QString &folder = superseded.at(i);
        const QString relative = folder.mid(m_mapsFolder.size() + 1);
        if (!journal({QStringLiteral("aside"), int(i), relative})) {
            return fail(folder);
        }
        const Step step = move(folder, setAsideFolder() + QLatin1Char('/') + QString::number(i));
        if (step == Step::Crash) {
            return {false, QFileInfo(folder).fileName()};
        }
        if (step == Step::Fail) {
            return fail(folder);
        }
    }
    for (const QString &folder : incoming) {
        const QString relative = folder.mid(m_downloadFolder.size() + 1);
        const QString name = QFileInfo(folder).fileName();
        if (!journal({QStringLiteral("in"), relative, name})) {
            return fail(folder);
        }
        const Step step = move(folder, m_mapsFolder + QLatin1Char('/') + name);
        if (step == Step::Crash) {
            return {false, name};
        }
        if (step == Step::Fail) {
            return fail(folder);
        }
    }
    if (!journal({QStringLiteral("done")})) {
        return fail(incoming.value(0));
    }
    // Committed: the old maps and the download go; a cut here leaves nothing to put back.
    QDir(m_downloadFolder).removeRecursively();
    QFile::remove(journalPath());
    return {true, QString()};
}

bool MapInstaller::recover()
{
    if (m_mapsFolder.isEmpty()) {
        return false;
    }
    if (!QFileInfo::exists(journalPath())) {
        return true;
    }
    const Journal entries = readJournal(journalPath());
    if (entries.committed) {
        QDir(setAsideFolder()).removeRecursively();
        return QFile::remove(journalPath());
    }

    bool restored = true;
    // Backwards, so each folder returns to the state it had before its move.
    for (auto it = entries.movedIn.crbegin(); it != entries.movedIn.crend(); ++it) {
        const QString source = m_downloadFolder + QLatin1Char('/') + it->first;
        const QString placed = m_mapsFolder + QLatin1Char('/') + it->second;
        // Still at its source: that move never happened, and what is at `placed` is not ours.
        if (!QFileInfo::exists(source) && QFileInfo::exists(placed)) {
            QDir().mkpath(QFileInfo(source).path());
            restored = QDir().rename(placed, source) && restored;
        }
    }
    for (auto it = entries.setAside.crbegin(); it != entries.setAside.crend(); ++it) {
        const QString aside = setAsideFolder() + QLatin1Char('/') + QString::number(it->first);
        const QString original = m_mapsFolder + QLatin1Char('/') + it->second;
        if (!QFileInfo::exists(aside)) {
            continue; // never moved
        }
        if (QFileInfo::exists(original)) {
            restored = false; // something else took its place: keep both, lose neither
            continue;
        }
        QDir().mkpath(QFileInfo(original).path());
        restored = QDir().rename(aside, original) && restored;
    }
    if (!restored) {
        return false;
    }
    QDir().rmdir(setAsideFolder());
    return QFile::remove(journalPath());
}
