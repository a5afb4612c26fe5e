#include "maps/MapInstaller.h"

#include "maps/InstalledMaps.h"
#include "platform/platform.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QThread>
#include <QUuid>

#include <algorithm>

namespace {
MapInstaller::StepHook s_stepHook;

// Kept beside the download folder, not in it: whatever an archive unpacks there can never pass
// for a journal of ours.
const QString journalSuffix = QStringLiteral(".journal");
// Put into each new folder before it moves, holding the install's id: recovery moves back only a
// folder that carries the id of the journal it reads, never one a garbled line happens to name.
const QString markName = QStringLiteral(".HalvornSyncInstall");

QString canonicalOrClean(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
}

QString parentOf(const QString &path)
{
    return QFileInfo(path).path();
}

bool isInside(const QString &path, const QString &folder)
{
    return path.startsWith(folder + QLatin1Char('/')) && path.size() > folder.size() + 1;
}

bool isLink(const QString &path)
{
    const QFileInfo info(path);
    return info.isSymLink() || info.isJunction();
}

bool isRealFolder(const QString &path)
{
    return QFileInfo(path).isDir() && !isLink(path);
}

// A dangling link takes a name as much as a folder does.
bool isTaken(const QString &path)
{
    return QFileInfo::exists(path) || isLink(path);
}

// Only the outermost: a folder inside another of the list moves with it.
QStringList outermost(const QStringList &folders)
{
    QStringList result;
    for (const QString &folder : folders) {
        const bool nested =
            std::any_of(folders.cbegin(), folders.cend(),
                        [&](const QString &other) { return isInside(folder, other); });
        if (!nested && !result.contains(folder)) {
            result.append(folder);
        }
    }
    return result;
}

// A journal path must lead inside the folder it is read against, whatever the file says.
bool isSafeRelativePath(const QString &path)
{
    if (path.isEmpty() || QDir::isAbsolutePath(path) || QDir::cleanPath(path) != path ||
        path.contains(QLatin1Char('\\'))) {
        return false;
    }
    const QStringList parts = path.split(QLatin1Char('/'));
    return !parts.contains(QStringLiteral("..")) && !parts.contains(QStringLiteral("."));
}

bool isSafeName(const QString &name)
{
    return isSafeRelativePath(name) && !name.contains(QLatin1Char('/'));
}

QString markPath(const QString &folder)
{
    return folder + QLatin1Char('/') + markName;
}

bool isMarked(const QString &folder, const QString &id)
{
    const QString path = markPath(folder);
    QFile file(path);
    return !id.isEmpty() && isRealFolder(folder) && QFileInfo(path).isFile() && !isLink(path) &&
           file.open(QIODevice::ReadOnly) && file.readAll() == id.toUtf8();
}

// Whatever the download holds under the mark's name goes first: a link there would carry the
// write elsewhere.
bool mark(const QString &folder, const QString &id)
{
    const QString path = markPath(folder);
    QFile::remove(path);
    Platform::instance()->removeFolder(path);
    QFile file(path);
    const QByteArray bytes = id.toUtf8();
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly) &&
           file.write(bytes) == bytes.size() && file.flush();
}

void unmark(const QString &folder, const QString &id)
{
    if (isMarked(folder, id)) {
        QFile::remove(markPath(folder));
    }
}

// Empty folders only: rmdir() refuses any other.
void removeEmptyFolders(const QString &folder)
{
    if (!isRealFolder(folder)) {
        return;
    }
    const QStringList children =
        QDir(folder).entryList(QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &child : children) {
        removeEmptyFolders(folder + QLatin1Char('/') + child);
    }
    QDir().rmdir(folder);
}

// A link found where the installer keeps its own things was not made by it: removed itself, never
// followed.
void removeIfLink(const QString &path)
{
    if (isLink(path)) {
        Platform::instance()->removeFolder(path);
    }
}

// Some file systems cannot sync a folder; the renames are then as safe as the system makes them.
void syncFolders(const QSet<QString> &folders)
{
    for (const QString &folder : folders) {
        Platform::instance()->syncFolder(folder);
    }
}

// `folder` and every folder above it up to `root`: what a new entry in `folder` changes.
void addChain(QSet<QString> &folders, QString folder, const QString &root)
{
    while (isInside(folder, root)) {
        folders.insert(folder);
        folder = parentOf(folder);
    }
    folders.insert(root);
}

struct Journal
{
    QString id;
    bool committed = false;
    QStringList setAside;                       // relative paths in the maps folder
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
        if (kind == QLatin1String("begin")) {
            journal.id = entry.at(1).toString();
        } else if (kind == QLatin1String("done")) {
            journal.committed = true;
        } else if (kind == QLatin1String("aside") && isSafeRelativePath(entry.at(1).toString())) {
            journal.setAside.append(entry.at(1).toString());
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
    // Never resolved: a link in its place must not lead the installer elsewhere.
    , m_downloadFolder(m_mapsFolder.isEmpty() ? QString()
                                              : InstalledMaps::downloadFolder(m_mapsFolder))
{
}

QString MapInstaller::setAsideFolder() const
{
    return InstalledMaps::setAsideFolder(m_mapsFolder);
}

QString MapInstaller::journalPath() const
{
    return m_downloadFolder + journalSuffix;
}

bool MapInstaller::journal(const QJsonArray &entry)
{
    QFile file(journalPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        return false;
    }
    const QByteArray line = QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n';
    if (file.write(line) != line.size() || !file.flush()) {
        return false;
    }
    file.close();
    return Platform::instance()->syncFile(journalPath());
}

MapInstaller::Step MapInstaller::move(const QString &from, const QString &to)
{
    const Step step = s_stepHook ? s_stepHook(from, to) : Step::Go;
    if (step != Step::Go) {
        return step;
    }
    // Never onto an existing folder: a rename there would merge or replace it.
    if (isTaken(to) || !QDir().rename(from, to)) {
        return Step::Fail;
    }
    return Step::Go;
}

MapInstaller::Written MapInstaller::makeDurable(const QString &folder) const
{
    QSet<QString> folders{folder};
    addChain(folders, parentOf(folder), m_downloadFolder);
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (QThread::currentThread()->isInterruptionRequested()) {
            return Written::Stopped;
        }
        const QFileInfo entry = it.fileInfo();
        if (isLink(entry.filePath())) {
            continue;
        }
        if (entry.isDir()) {
            folders.insert(entry.filePath());
        } else if (entry.isFile() && !Platform::instance()->syncFile(entry.filePath())) {
            return Written::No;
        }
    }
    syncFolders(folders);
    return Written::Yes;
}

MapInstaller::Result MapInstaller::install(const MapInstallPlan &plan)
{
    if (m_mapsFolder.isEmpty()) {
        return {Outcome::Refused, {}, {}};
    }
    // What an earlier run left must be settled first, or its maps could be lost with it.
    const Recovery earlier = recover();
    if (!earlier.settled) {
        return {Outcome::Refused, {}, earlier.kept};
    }

    QStringList incoming;
    for (const QString &folder : plan.incoming) {
        if (isInside(folder, m_downloadFolder) && isRealFolder(folder)) {
            incoming.append(folder);
        }
    }
    incoming = outermost(incoming);
    // Withdrawn maps go only with a new map in their place.
    if (incoming.isEmpty()) {
        return {Outcome::NothingToInstall, {}, {}};
    }
    QStringList superseded;
    for (const QString &folder : plan.superseded) {
        // Never the maps folder itself nor anything of the installer's.
        if (isInside(folder, m_mapsFolder) && !isInside(folder, m_downloadFolder) &&
            folder != m_downloadFolder && !isInside(folder, setAsideFolder()) &&
            folder != setAsideFolder() && isRealFolder(folder)) {
            superseded.append(folder);
        }
    }
    superseded = outermost(superseded);
    // A folder of the same name that is not being replaced stays: say so before touching anything.
    // The comparison is the file system's: on Windows a name in other letters is the same folder.
    for (const QString &folder : incoming) {
        const QString target = m_mapsFolder + QLatin1Char('/') + QFileInfo(folder).fileName();
        if (isTaken(target) && !superseded.contains(target, Platform::fileNameCase())) {
            return {Outcome::NotMoved, QFileInfo(folder).fileName(), {}};
        }
    }
    for (const QString &folder : plan.dropped) {
        if (isInside(folder, m_downloadFolder)) {
            Platform::instance()->removeFolder(folder);
        }
    }

    // The new map is on the disk before anything moves: after a power cut it is the new map whole
    // that has taken the old one's place, never files that were still only in memory.
    const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    const auto unmarkAll = [&] {
        for (const QString &folder : incoming) {
            unmark(folder, id);
        }
    };
    for (const QString &folder : incoming) {
        const Written written = mark(folder, id) ? makeDurable(folder) : Written::No;
        if (written != Written::Yes) {
            unmarkAll();
            return {written == Written::Stopped ? Outcome::Interrupted : Outcome::NotWritten,
                    QFileInfo(folder).fileName(),
                    {}};
        }
    }
    const auto fail = [&](Outcome outcome, const QString &folder) -> Result {
        const Recovery recovery = recover();
        unmarkAll();
        return {outcome, QFileInfo(folder).fileName(), recovery.kept};
    };
    if (!QDir().mkpath(setAsideFolder()) || !journal({QStringLiteral("begin"), id})) {
        return fail(Outcome::NotWritten, QString());
    }
    // The journal's own entry, and the set-aside folder's.
    Platform::instance()->syncFolder(m_mapsFolder);

    QSet<QString> changed;
    for (const QString &folder : superseded) {
        const QString relative = folder.mid(m_mapsFolder.size() + 1);
        const QString aside = setAsideFolder() + QLatin1Char('/') + relative;
        if (!journal({QStringLiteral("aside"), relative})) {
            return fail(Outcome::NotWritten, folder);
        }
        const Step step = QDir().mkpath(parentOf(aside)) ? move(folder, aside) : Step::Fail;
        if (step == Step::Crash) {
            return {Outcome::NotMoved, QFileInfo(folder).fileName(), {}};
        }
        if (step == Step::Fail) {
            return fail(Outcome::NotMoved, folder);
        }
        changed.insert(parentOf(folder));
        addChain(changed, parentOf(aside), setAsideFolder());
    }
    for (const QString &folder : incoming) {
        const QString relative = folder.mid(m_downloadFolder.size() + 1);
        const QString name = QFileInfo(folder).fileName();
        if (!journal({QStringLiteral("in"), relative, name})) {
            return fail(Outcome::NotWritten, folder);
        }
        const Step step = move(folder, m_mapsFolder + QLatin1Char('/') + name);
        if (step == Step::Crash) {
            return {Outcome::NotMoved, name, {}};
        }
        if (step == Step::Fail) {
            return fail(Outcome::NotMoved, folder);
        }
        changed.insert(parentOf(folder));
        changed.insert(m_mapsFolder);
    }
    // The moves are on the disk before the journal says they are final.
    syncFolders(changed);
    if (!journal({QStringLiteral("done")})) {
        // Whether "done" reached the disk is unknown: the next recovery reads what did. Until then
        // both maps are kept.
        return {Outcome::NotWritten, QString(), {setAsideFolder()}};
    }

    // Committed: the old maps go, then the journal, then what is left of the download.
    for (const QString &folder : superseded) {
        Platform::instance()->removeFolder(setAsideFolder() + QLatin1Char('/') +
                                           folder.mid(m_mapsFolder.size() + 1));
    }
    removeEmptyFolders(setAsideFolder());
    for (const QString &folder : incoming) {
        unmark(m_mapsFolder + QLatin1Char('/') + QFileInfo(folder).fileName(), id);
    }
    QFile::remove(journalPath());
    Platform::instance()->removeFolder(m_downloadFolder);
    return {Outcome::Installed, {}, {}};
}

MapInstaller::Recovery MapInstaller::recover()
{
    if (m_mapsFolder.isEmpty()) {
        return {false, {}};
    }
    removeIfLink(journalPath());
    removeIfLink(setAsideFolder());
    removeIfLink(m_downloadFolder);
    const QStringList olderKept = adoptOlderSetAside();
    const bool hasJournal = QFileInfo::exists(journalPath());
    if (!hasJournal && !isTaken(setAsideFolder())) {
        return {olderKept.isEmpty(), olderKept};
    }

    const Journal entries = readJournal(journalPath());
    QSet<QString> changed;
    if (entries.committed) {
        for (const QString &relative : entries.setAside) {
            Platform::instance()->removeFolder(setAsideFolder() + QLatin1Char('/') + relative);
        }
        for (const auto &[source, name] : entries.movedIn) {
            unmark(m_mapsFolder + QLatin1Char('/') + name, entries.id);
        }
    } else {
        // New folders move back out only when every old one can take its place again; otherwise
        // the new map stays, rather than neither.
        const bool oldMapWhole = std::all_of(
            entries.setAside.cbegin(), entries.setAside.cend(), [&](const QString &rel) {
                const QString original = m_mapsFolder + QLatin1Char('/') + rel;
                return isTaken(setAsideFolder() + QLatin1Char('/') + rel) ||
                       (isTaken(original) && !isMarked(original, entries.id));
            });
        // Backwards, so each folder returns to the state it had before its move.
        for (auto it = entries.movedIn.crbegin(); oldMapWhole && it != entries.movedIn.crend();
             ++it) {
            const QString source = m_downloadFolder + QLatin1Char('/') + it->first;
            const QString placed = m_mapsFolder + QLatin1Char('/') + it->second;
            // Not ours, or that move never happened.
            if (!isMarked(placed, entries.id) || isTaken(source)) {
                continue;
            }
            QDir().mkpath(parentOf(source));
            if (QDir().rename(placed, source)) {
                unmark(source, entries.id);
                changed.insert(m_mapsFolder);
                addChain(changed, parentOf(source), m_downloadFolder);
            }
        }
    }
    // Whatever is set aside goes back where its place is free, named by the journal or not (its
    // line may have been lost to a power cut under an older version).
    QStringList kept =
        olderKept + putBack(setAsideFolder(), m_mapsFolder, entries.setAside, changed);
    syncFolders(changed);
    if (kept.isEmpty()) {
        removeEmptyFolders(setAsideFolder());
        if (isTaken(setAsideFolder())) {
            kept.append(setAsideFolder());
        }
    }
    if (!kept.isEmpty()) {
        return {false, kept};
    }
    if (hasJournal && !QFile::remove(journalPath())) {
        return {false, {journalPath()}};
    }
    return {true, {}};
}

// Earlier versions set maps aside inside the download folder, as numbered folders that the
// journal's lines ["aside", number, path] name, where the download's reset would delete them.
// Those of an uncommitted install move to today's set-aside folder and are put back from there;
// those of a committed one were superseded and go. What cannot be named stays and is returned.
QStringList MapInstaller::adoptOlderSetAside() const
{
    const QString older = m_downloadFolder + QStringLiteral("/set-aside-by-installer");
    if (!isRealFolder(m_downloadFolder) || !isRealFolder(older)) {
        return {};
    }
    bool committed = false;
    QHash<QString, QString> places; // by number
    QFile file(journalPath());
    if (!isLink(journalPath()) && file.open(QIODevice::ReadOnly)) {
        while (!file.atEnd()) {
            const QJsonArray entry = QJsonDocument::fromJson(file.readLine()).array();
            committed = committed || entry.at(0).toString() == QLatin1String("done");
            if (entry.at(0).toString() == QLatin1String("aside") && entry.at(1).isDouble() &&
                isSafeRelativePath(entry.at(2).toString())) {
                places.insert(QString::number(entry.at(1).toInt()), entry.at(2).toString());
            }
        }
    }
    QSet<QString> changed;
    const QStringList numbers = QDir(older).entryList(QDir::AllEntries | QDir::Hidden |
                                                      QDir::System | QDir::NoDotAndDotDot);
    for (const QString &number : numbers) {
        const QString from = older + QLatin1Char('/') + number;
        if (!places.contains(number)) {
            continue;
        }
        if (committed) {
            Platform::instance()->removeFolder(from);
            continue;
        }
        const QString to = setAsideFolder() + QLatin1Char('/') + places.value(number);
        if (!isTaken(to) && QDir().mkpath(parentOf(to)) && QDir().rename(from, to)) {
            changed.insert(older);
            addChain(changed, parentOf(to), setAsideFolder());
        }
    }
    syncFolders(changed);
    QDir().rmdir(older);
    return isTaken(older) ? QStringList{older} : QStringList{};
}

// `aside` is a folder in the set-aside folder, `place` where it stands in the maps folder. A map
// folder (one the journal names, or one with an Info.xml) goes back whole or stays whole; a folder
// above one, whose place still exists, is gone through.
QStringList MapInstaller::putBack(const QString &aside, const QString &place,
                                  const QStringList &named, QSet<QString> &changed) const
{
    QStringList kept;
    const QFileInfoList entries = QDir(aside).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                            QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        const QString from = entry.filePath();
        const QString target = place + QLatin1Char('/') + entry.fileName();
        const bool mapFolder =
            named.contains(from.mid(setAsideFolder().size() + 1)) ||
            !QDir(from).entryList({QStringLiteral("Info.xml")}, QDir::Files).isEmpty();
        if (!isTaken(target) && QDir().rename(from, target)) {
            changed.insert(aside);
            changed.insert(place);
        } else if (!mapFolder && isRealFolder(from) && isRealFolder(target)) {
            kept += putBack(from, target, named, changed);
        } else {
            kept.append(from);
        }
    }
    return kept;
}
