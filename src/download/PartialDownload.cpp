#include "download/PartialDownload.h"

#include "platform/platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include <filesystem>
#include <optional>
#include <system_error>

namespace {
const QString recordSuffix = QStringLiteral(".resume");
// A record is a few lines; anything larger is not one of ours.
constexpr qint64 largestRecord = 64 * 1024;

bool isLink(const QString &path)
{
    const QFileInfo info(path);
    return info.isSymLink() || info.isJunction();
}

// Only a file of our own is continued or written beside: never what a link leads to.
bool isPlainFile(const QString &path)
{
    return QFileInfo(path).isFile() && !isLink(path);
}
} // namespace

PartialDownload::PartialDownload(QObject *parent)
    : QObject(parent)
{
}

PartialDownload::~PartialDownload()
{
    while (m_sync) {
        onSynced();
    }
}

QString PartialDownload::recordPath(const QString &target)
{
    return target + recordSuffix;
}

bool PartialDownload::isKept(const QString &target)
{
    return !target.isEmpty() && QFileInfo::exists(recordPath(target));
}

std::optional<PartialDownload::Record> PartialDownload::read(const QString &target)
{
    QFile file(recordPath(target));
    if (!isPlainFile(file.fileName()) || file.size() > largestRecord ||
        !file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QJsonObject json = QJsonDocument::fromJson(file.readAll()).object();
    Record record{
        QUrl(json.value(QLatin1String("url")).toString()),
        json.value(QLatin1String("validator")).toString(),
        json.value(QLatin1String("announced")).toInteger(-1),
        json.value(QLatin1String("bytes")).toInteger(-1),
        QDateTime::fromString(json.value(QLatin1String("saved")).toString(), Qt::ISODate)};
    if (!record.url.isValid() || record.validator.isEmpty() || record.bytes < 0 ||
        !record.saved.isValid()) {
        return std::nullopt;
    }
    return record;
}

bool PartialDownload::continues(const QString &target, const QUrl &url, const QString &validator)
{
    const std::optional<Record> record = read(target);
    return isPlainFile(target) && record && record->url == url && !validator.isEmpty() &&
           record->validator == validator;
}

void PartialDownload::removeStale(const QString &folder, const QDateTime &now)
{
    if (folder.isEmpty()) {
        return;
    }
    const QStringList records =
        QDir(folder).entryList({QLatin1Char('*') + recordSuffix}, QDir::Files | QDir::Hidden);
    for (const QString &name : records) {
        const QString target = QDir(folder).filePath(name.chopped(recordSuffix.size()));
        const std::optional<Record> record = read(target);
        if (!record || record->saved.addDays(keptDays) < now) {
            // Links are removed themselves, never what they lead to.
            QFile::remove(target);
            QFile::remove(recordPath(target));
        }
    }
}

qint64 PartialDownload::resumePoint(const QString &target, const QUrl &url,
                                    const QString &validator)
{
    const bool sameAsBefore =
        m_active && m_target == target && m_record.url == url && m_record.validator == validator;
    m_target = target;
    qint64 keep = 0;
    if (!validator.isEmpty() && isPlainFile(target)) {
        if (sameAsBefore) {
            keep = QFileInfo(target).size(); // this run wrote them: nothing was lost meanwhile
        } else if (const std::optional<Record> record = read(target);
                   record && record->url == url && record->validator == validator) {
            m_record = *record;
            keep = qMin(QFileInfo(target).size(), record->bytes);
        }
    }
    m_record.url = url;
    if (keep <= 0 || !QFile::resize(target, keep)) {
        forget();
        QFile::remove(target);
        return 0;
    }
    m_active = true;
    return keep;
}

void PartialDownload::answered(const QString &validator, qint64 announced, bool startedOver)
{
    if (validator.isEmpty()) {
        forget();
        return;
    }
    if (startedOver) {
        ++m_generation;
        m_record.bytes = 0;
    }
    m_record.validator = validator;
    m_record.announced = announced;
    m_active = true;
    write();
}

void PartialDownload::save(qint64 bytes)
{
    if (!m_active) {
        return;
    }
    if (m_sync) {
        m_pendingBytes = bytes;
        return;
    }
    auto synced = std::make_shared<bool>(false);
    m_sync = QThread::create(
        [path = m_target, synced] { *synced = Platform::instance()->syncFile(path); });
    m_synced = synced;
    m_syncBytes = bytes;
    m_syncGeneration = m_generation;
    connect(m_sync, &QThread::finished, this, &PartialDownload::onSynced);
    m_sync->start();
}

void PartialDownload::onSynced()
{
    if (!m_sync) {
        return;
    }
    m_sync->wait();
    delete m_sync;
    m_sync = nullptr;
    if (*m_synced && m_active && m_syncGeneration == m_generation && m_syncBytes > m_record.bytes) {
        m_record.bytes = m_syncBytes;
        write();
    }
    if (m_pendingBytes >= 0) {
        save(std::exchange(m_pendingBytes, -1));
    }
}

void PartialDownload::forget()
{
    ++m_generation;
    m_active = false;
    m_record.bytes = 0;
    if (!m_target.isEmpty()) {
        QFile::remove(recordPath(m_target));
    }
}

void PartialDownload::write()
{
    const QString path = recordPath(m_target);
    if (isLink(path)) {
        QFile::remove(path);
    }
    m_record.saved = QDateTime::currentDateTimeUtc();
    const QByteArray json =
        QJsonDocument(QJsonObject{{QLatin1String("url"), m_record.url.toString()},
                                  {QLatin1String("validator"), m_record.validator},
                                  {QLatin1String("announced"), m_record.announced},
                                  {QLatin1String("bytes"), m_record.bytes},
                                  {QLatin1String("saved"), m_record.saved.toString(Qt::ISODate)}})
            .toJson();
    // Replaced whole, but not synced: the bytes it vouches for were synced before it was written,
    // and a record a power cut loses or cuts short only makes the next run start over. A sync
    // here, on the GUI thread, waited behind the file system's journal while the download itself
    // was being synced, and froze the window. Without a record nothing is continued: the download
    // itself goes on as well.
    const QString next = path + QStringLiteral(".new");
    QFile::remove(next); // a link in its place is removed, never written through
    QFile file(next);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(json) == json.size() &&
        file.flush()) {
        file.close();
        std::error_code error;
        std::filesystem::rename(QFileInfo(next).filesystemAbsoluteFilePath(),
                                QFileInfo(path).filesystemAbsoluteFilePath(), error);
    }
    QFile::remove(next);
}
