#include "pages/card/CardSafetyCopy.h"

#include "app/Core.h"
#include "copier/FileCopier.h"
#include "download/CheckMd5Worker.h"
#include "download/DownloadCache.h"
#include "maps/CardImage.h"
#include "platform/platform.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QUrl>

namespace {
// Room kept free on the computer beyond the copy itself.
constexpr qint64 spareBytes = 1 << 20;

const QString kIdentity = QStringLiteral("identity");
const QString kFamily = QStringLiteral("family");
const QString kMd5 = QStringLiteral("md5");

// As readable as the identity (a FAT card's "1A2B-3C4D" stays as it is), and never the same
// for two identities.
QString fileNamePart(const QString &identity)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(identity));
}
} // namespace

CardSafetyCopy::CardSafetyCopy(const QString &cardRoot, QObject *parent)
    : QObject(parent)
    , m_root(cardRoot)
    , m_identity(Platform::instance()->volumeIdentity(cardRoot))
{
    if (m_identity.isEmpty()) {
        return; // an unknown card is never taken for the one a copy waits for
    }
    const QStringList records = QDir(folder()).entryList(
        {fileNamePart(m_identity) + QStringLiteral("-*.json")}, QDir::Files, QDir::Name);
    for (const QString &record : records) {
        if (readRecord(QDir(folder()).filePath(record))) {
            break;
        }
    }
}

CardSafetyCopy::~CardSafetyCopy() = default;

QString CardSafetyCopy::folder()
{
    return DownloadCache::programFolder() + QStringLiteral("/card-safety-copies");
}

bool CardSafetyCopy::anyWaiting()
{
    return !QDir(folder()).entryList({QStringLiteral("*.json")}, QDir::Files).isEmpty();
}

bool CardSafetyCopy::waiting() const
{
    return !m_key.isEmpty() && QFileInfo::exists(recordPath()) && QFileInfo::exists(path());
}

bool CardSafetyCopy::fitsOnComputer() const
{
    const qint64 available = Platform::instance()->bytesAvailable(folder());
    return available < 0 || available >= QFileInfo(CardImage::path(m_root)).size() + spareBytes;
}

QString CardSafetyCopy::path() const
{
    return QDir(folder()).filePath(m_key + QStringLiteral(".img"));
}

QString CardSafetyCopy::recordPath() const
{
    return QDir(folder()).filePath(m_key + QStringLiteral(".json"));
}

QString CardSafetyCopy::puttingBackText()
{
    return tr("Putting the card's previous map back...");
}

QString CardSafetyCopy::putBackText()
{
    return tr("The card's previous map has been put back.");
}

QString CardSafetyCopy::notPutBackText() const
{
    const QString where = QDir::toNativeSeparators(path()).toHtmlEscaped();
    const QString kept =
        m_identity.isEmpty()
            ? tr("A copy of it is kept on your %1 at <b>%2</b>. To put it back, copy it into "
                 "the card's garmin folder as gmapsupp.img.")
            : tr("A copy of it is kept on your %1 at <b>%2</b>. It is put back the next time you "
                 "insert this card while HalvornSync asks for a card.");
    return tr("The card's previous map could not be put back on it.") + QStringLiteral("<br/>") +
           kept.arg(Core::computerWord(), where);
}

bool CardSafetyCopy::readRecord(const QString &recordFile)
{
    QFile file(recordFile);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QJsonObject record = QJsonDocument::fromJson(file.readAll()).object();
    const QString key = QFileInfo(recordFile).completeBaseName();
    if (record.value(kIdentity).toString() != m_identity ||
        !QFileInfo::exists(QDir(folder()).filePath(key + QStringLiteral(".img")))) {
        return false;
    }
    const QByteArray md5 = record.value(kMd5).toString().toLatin1();
    if (md5.isEmpty()) {
        return false;
    }
    m_key = key;
    m_family = record.value(kFamily).toInt();
    m_md5 = md5;
    return true;
}

bool CardSafetyCopy::writeRecord()
{
    QSaveFile file(recordPath());
    const QJsonObject record{
        {kIdentity, m_identity}, {kFamily, m_family}, {kMd5, QString::fromLatin1(m_md5)}};
    // The record says the copy is whole: both must outlast a power cut before the card's map
    // is overwritten.
    return file.open(QIODevice::WriteOnly) && file.write(QJsonDocument(record).toJson()) > 0 &&
           file.commit() && Platform::instance()->syncFile(recordPath()) &&
           Platform::instance()->syncFolder(folder());
}

void CardSafetyCopy::make()
{
    const QString image = CardImage::path(m_root);
    const int family = CardImage::familyIdOfFile(image).value_or(0);
    // A copy of another product's map (the card has been used for it since) is not this one's.
    if (waiting() && (family == 0 || family == m_family)) {
        finishLater(true);
        return;
    }
    m_family = family;
    m_md5.clear();
    // A card the system cannot name gets a copy that no later card can be taken for.
    m_key = m_identity.isEmpty()
                ? QStringLiteral("unknown-%1").arg(QDateTime::currentMSecsSinceEpoch())
                : fileNamePart(m_identity);
    m_key += QStringLiteral("-%1").arg(m_family);
    QDir().mkpath(folder());
    QFile::remove(recordPath()); // what is there is no whole copy, or waiting() would say so
    copy(image, path(), [this, image] {
        Q_EMIT checking();
        check(image, {}, false, [this](bool, const QByteArray &digest) {
            if (digest.isEmpty()) {
                fail(path());
                return;
            }
            m_md5 = digest;
            check(path(), m_md5, true, [this](bool same, const QByteArray &) {
                if (!same || !writeRecord()) {
                    QFile::remove(recordPath());
                    fail(path());
                    return;
                }
                Q_EMIT finished(true);
            });
        });
    });
}

bool CardSafetyCopy::canPutBack() const
{
    const std::optional<Platform::Volume> card = Platform::instance()->mountedVolume(m_root);
    const QString image = CardImage::path(m_root);
    // A map cut short before its family number reads as family 0.
    const std::optional<int> family =
        QFileInfo::exists(image) ? CardImage::familyIdOfFile(image) : std::optional<int>(0);
    return waiting() && card && card->ready &&
           Platform::instance()->volumeIdentity(m_root) == m_identity && family &&
           (*family == 0 || *family == m_family);
}

void CardSafetyCopy::putBack()
{
    if (!canPutBack()) {
        finishLater(false);
        return;
    }
    const QString image = CardImage::path(m_root);
    QDir(m_root).mkpath(QFileInfo(image).path());
    // The card has room for one map: what is in the way goes, the copy stays until it is back.
    QFile::remove(image);
    const QString partial = CardImage::partialPath(m_root);
    copy(path(), partial, [this, partial] {
        Q_EMIT checking();
        check(partial, m_md5, true, [this, partial](bool same, const QByteArray &) {
            if (!same) {
                fail(partial);
                return;
            }
            if (!CardImage::putInPlace(m_root)) {
                fail();
                return;
            }
            discard();
            Q_EMIT finished(true);
        });
    });
}

void CardSafetyCopy::discard()
{
    if (m_key.isEmpty()) {
        return;
    }
    // The record first: a copy without one is only a leftover.
    QFile::remove(recordPath());
    QFile::remove(path());
    m_key.clear();
}

void CardSafetyCopy::copy(const QString &source, const QString &destination,
                          std::function<void()> then)
{
    if (!m_copier) {
        m_copier = std::make_unique<FileCopier>();
        connect(m_copier.get(), &FileCopier::dataTransferProgress, this, [this](int, qint64 bytes) {
            if (m_copySize > 0) {
                Q_EMIT progress(int(qBound(qint64(0), bytes * 100 / m_copySize, qint64(100))));
            }
        });
        connect(m_copier.get(), &FileCopier::done, this, [this](bool error) {
            const std::function<void()> then = std::exchange(m_afterCopy, {});
            if (error) {
                fail(); // the copier removes what it could not finish
            } else if (then) {
                then();
            }
        });
    }
    m_copySize = QFileInfo(source).size();
    m_afterCopy = std::move(then);
    if (m_copier->copy(source, destination, FileCopier::NonInteractive | FileCopier::ForceReplace) <
        0) {
        m_afterCopy = {};
        finishLater(false);
    }
}

void CardSafetyCopy::check(const QString &file, const QByteArray &md5, bool written,
                           std::function<void(bool, const QByteArray &)> done)
{
    const CheckMd5Worker::ReadFrom readFrom =
        written ? CheckMd5Worker::ReadFrom::Written : CheckMd5Worker::ReadFrom::Medium;
    auto *worker = new CheckMd5Worker(this, file, QString::fromLatin1(md5), readFrom);
    auto digest = std::make_shared<QByteArray>();
    connect(worker, &CheckMd5Worker::digestReady, this,
            [digest](const QByteArray &hexDigest) { *digest = hexDigest; });
    connect(worker, &CheckMd5Worker::resultReady, this,
            [digest, done = std::move(done)](bool ok) { done(ok, *digest); });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
}

void CardSafetyCopy::fail(const QString &leftover)
{
    if (!leftover.isEmpty()) {
        QFile::remove(leftover);
    }
    Q_EMIT finished(false);
}

void CardSafetyCopy::finishLater(bool ok)
{
    // Never from inside the call that started the step.
    QMetaObject::invokeMethod(
        this, [this, ok] { Q_EMIT finished(ok); }, Qt::QueuedConnection);
}
