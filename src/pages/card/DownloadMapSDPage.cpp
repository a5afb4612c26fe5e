#include "pages/card/DownloadMapSDPage.h"

#include "app/Core.h"
#include "app/CurrentProduct.h"
#include "app/PopupDialog.h"
#include "app/SupportLog.h"
#include "app/VersionReportStep.h"
#include "download/DownloadCache.h"
#include "download/PartialDownload.h"
#include "maps/CardImage.h"
#include "pages/card/CardSafetyCopy.h"
#include "platform/platform.h"
#include "service/ProductInfo.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
// FAT rounds every file up to whole clusters: a little slack keeps the copy beside the old image
// from running out of room at its very end.
constexpr qint64 spareBytes = 1 << 20;

QString cardRoot()
{
    return Core::instance()->cardDrive();
}

// A name of its own per product and card (and map address), so that no two downloads ever meet.
QString downloadName()
{
    const SdSubProduct &card = currentCard();
    const QByteArray whose = (currentProduct().productSerial + QLatin1Char('\n') + card.name +
                              QLatin1Char('\n') + card.map.toString())
                                 .toUtf8();
    return QStringLiteral("card-%1-%2.img")
        .arg(card.fid)
        .arg(QString::fromLatin1(
            QCryptographicHash::hash(whose, QCryptographicHash::Md5).toHex().left(12)));
}

// The question, and on the next line why.
QString transferFailedText(const QString &why)
{
    return DownloadMapSDPage::tr(
               "The transfer to preprogrammed card failed. Would you like to try again?") +
           QLatin1Char('\n') + why;
}

QString errorCode(FileCopier::Error error)
{
    return QStringLiteral("(E-%1)").arg(int(error));
}
} // namespace

DownloadMapSDPage::DownloadMapSDPage(QWidget *parent)
    : DownloadPage(QStringLiteral("DownloadMapSDPage"),
                   QStringLiteral(":/images/image-download-to-sd.svg"),
                   tr("<html><head/><body><p>Downloading new map for<br/>preprogrammed "
                      "card...</p></body></html>"),
                   parent)
    , copier(std::make_unique<FileCopier>())
    , m_downloadTarget(QDir(DownloadCache::folder()).filePath(downloadName()))
{
    connect(copier.get(), &FileCopier::dataTransferProgress, this,
            [this](int id, qint64 bytes) { onCopyProgress(id, qulonglong(qMax(bytes, 0))); });
    connect(copier.get(), &FileCopier::stateChanged, this, &DownloadMapSDPage::onCopyStateChanged);
    connect(copier.get(), &FileCopier::done, this, &DownloadMapSDPage::onCopyDone);
    connect(copier.get(), &FileCopier::error, this, &DownloadMapSDPage::onCopyError);
}

// Gigabytes are not left behind: the map is on the card, or the user gave up. A partial download
// stays for a later run to continue (removed after a while if none does).
DownloadMapSDPage::~DownloadMapSDPage()
{
    if (!PartialDownload::isKept(m_downloadTarget)) {
        QFile::remove(m_downloadTarget);
    }
}

bool DownloadMapSDPage::fileSystemHolds(const QString &fileSystemType, qint64 bytes)
{
    static const QStringList fat = {QStringLiteral("vfat"),  QStringLiteral("fat"),
                                    QStringLiteral("fat12"), QStringLiteral("fat16"),
                                    QStringLiteral("fat32"), QStringLiteral("msdos")};
    constexpr qint64 largestFatFile = (qint64(4) << 30) - 1;
    return bytes <= largestFatFile || !fat.contains(fileSystemType.toLower());
}

QUrl DownloadMapSDPage::downloadUrl() const
{
    return currentCard().map;
}

QString DownloadMapSDPage::downloadTarget() const
{
    return m_downloadTarget;
}

PageId DownloadMapSDPage::pageAfterNo() const
{
    return PageId::EjectSDPage;
}

DownloadPage::Space DownloadMapSDPage::checkSpace(qint64 announcedBytes)
{
    const QString root = cardRoot();
    const std::optional<Platform::Volume> card = Platform::instance()->mountedVolume(root);
    if (!card) {
        leaveWith(tr("The preprogrammed card is no longer in the computer."), PageId::InsertSDPage);
        return Space::Left;
    }
    // Found out now, not as a write error after hours of downloading.
    if (!fileSystemHolds(card->fileSystemType, announcedBytes)) {
        leaveWith(tr("The map (%1 MB) is too large for this card: its file system, %2, holds no "
                     "file of 4 GB or more. Please use a card formatted with exFAT.")
                      .arg(announcedBytes / (1024 * 1024))
                      .arg(card->fileSystemType.toHtmlEscaped()),
                  PageId::InsertSDPage);
        return Space::Left;
    }
    const QString downloads = DownloadCache::folder();
    const Space computer = requireRoom(
        downloads, announcedBytes,
        tr("Not enough free space on main drive for download to temporary location.<br/>"
           "Temporary location: <b>%1</b>")
            .arg(QDir::toNativeSeparators(downloads).toHtmlEscaped()));
    if (computer != Space::Enough) {
        return computer;
    }
    // The old image and an interrupted run's leftover both make way for the new one.
    const qint64 reclaimable =
        QFileInfo(CardImage::path(root)).size() + QFileInfo(CardImage::partialPath(root)).size();
    if (card->bytesAvailable + reclaimable < announcedBytes) {
        leaveWith(tr("Not enough free space on selected drive."), PageId::InsertSDPage);
        return Space::Left;
    }
    return Space::Enough;
}

void DownloadMapSDPage::downloadComplete()
{
    showBusy(tr("Verifying downloaded map..."));
    verifyDownload(currentCard().md5);
}

void DownloadMapSDPage::handleMd5CheckResults(bool ok)
{
    if (!ok) {
        offerNewAttempt(
            tr("The downloaded map is corrupt. Would you like to try downloading again?"));
        return;
    }
    keepAwake(true);
    const QString root = cardRoot();
    imageSize = QFileInfo(downloadTarget()).size();
    QDir(root).mkpath(QStringLiteral("garmin"));
    QFile::remove(CardImage::partialPath(root));
    m_safetyCopy.reset();

    const std::optional<Platform::Volume> card = Platform::instance()->mountedVolume(root);
    const bool roomForBoth = card && card->bytesAvailable >= imageSize + spareBytes;
    if (roomForBoth) {
        copyNewImage(CardImage::partialPath(root));
    } else if (QFileInfo::exists(CardImage::path(root))) {
        keepOldImageFirst();
    } else {
        copyNewImage(CardImage::path(root)); // a blank card: nothing to keep
    }
}

void DownloadMapSDPage::keepOldImageFirst()
{
    m_safetyCopy = std::make_unique<CardSafetyCopy>(cardRoot());
    if (!m_safetyCopy->waiting() && !m_safetyCopy->fitsOnComputer()) {
        m_safetyCopy.reset();
        keepAwake(false);
        const std::optional<bool> overwrite = PopupDialog::ask(
            this, tr("Warning"),
            tr("There is not enough free space on your %1 to keep a copy of the map now on "
               "the card while the new one is written: the card's current map cannot be "
               "kept if the copy fails. Continue?")
                .arg(Core::computerWord()),
            DownloadPage::tr("NO"), DownloadPage::tr("YES"), true);
        if (!overwrite) {
            return;
        }
        if (!*overwrite) {
            Core::instance()->setCurrentPage(pageAfterNo());
            return;
        }
        keepAwake(true);
        copyNewImage(CardImage::path(cardRoot()));
        return;
    }
    follow(tr("Keeping a copy of the card's current map on your %1...").arg(Core::computerWord()),
           [this](bool kept) {
               if (kept) {
                   copyNewImage(CardImage::path(cardRoot()));
               } else {
                   m_safetyCopy.reset();
                   askToCopyAgain(transferFailedText(
                       tr("The card's current map could not be copied to your %1.")
                           .arg(Core::computerWord())));
               }
           });
    m_safetyCopy->make();
}

void DownloadMapSDPage::copyNewImage(const QString &target)
{
    showPercentStep(tr("Transferring new map to preprogrammed card..."));
    m_copyTarget = target;
    m_copyError = FileCopier::NoError;
    if (copier->copy(downloadTarget(), m_copyTarget,
                     FileCopier::NonInteractive | FileCopier::ForceReplace) < 0) {
        transferFailed(errorCode(FileCopier::CannotOpenDestination), false);
    }
}

void DownloadMapSDPage::onCopyProgress(int, qulonglong bytes)
{
    if (imageSize > 0) {
        showProgress(int(qMin<qulonglong>(bytes * 100 / qulonglong(imageSize), 100)));
    }
}

void DownloadMapSDPage::onCopyStateChanged(FileCopier::State state)
{
    if (state == FileCopier::WaitingForAnswer) {
        copier->overwriteAll();
    }
}

void DownloadMapSDPage::onCopyError(int, FileCopier::Error error, bool)
{
    if (error == FileCopier::DestinationExists) {
        copier->overwriteAll();
    } else if (m_copyError == FileCopier::NoError) {
        // Asked about once the copier is idle again (onCopyDone), so YES can copy at once.
        m_copyError = error;
    }
}

void DownloadMapSDPage::onCopyDone(bool error)
{
    if (error || m_copyError != FileCopier::NoError) {
        transferFailed(errorCode(m_copyError), true);
        return;
    }
    // The copy is only as good as what the card gives back.
    showBusy(tr("Checking the map on the preprogrammed card..."));
    runChecksum(m_copyTarget, currentCard().md5, CheckMd5Worker::ReadFrom::Written,
                [this](bool ok) { onReadBackResult(ok); });
}

void DownloadMapSDPage::onReadBackResult(bool ok)
{
    if (!ok) {
        transferFailed(tr("The map on the card differs from the downloaded map."), true);
        return;
    }
    // On the card for good before anyone is told, the user included: the check synced the file,
    // this the folder entry that names it.
    const QString root = cardRoot();
    if (m_copyTarget == CardImage::partialPath(root)) {
        if (!CardImage::putInPlace(root)) {
            transferFailed(errorCode(FileCopier::CannotRemoveDestination), false);
            return;
        }
    } else if (!Platform::instance()->syncFolder(QFileInfo(m_copyTarget).path())) {
        transferFailed(errorCode(FileCopier::CannotWriteDestination), false);
        return;
    }
    if (m_safetyCopy) {
        m_safetyCopy->discard();
    }
    QFile::remove(downloadTarget());
    SupportLog::write(QStringLiteral("transfer: complete, %1 bytes").arg(imageSize));
    VersionReportStep::sendSdTransfer(currentProduct(), Core::instance()->cardIndex());
}

void DownloadMapSDPage::transferFailed(const QString &why, bool corrupt)
{
    if (m_safetyCopy) {
        putOldImageBack(why);
        return;
    }
    if (corrupt) {
        // The old map, if any, is still in place; a half-written or corrupt map must not stay
        // beside it or in its place for the GPS to load.
        QFile::remove(m_copyTarget);
    }
    askToCopyAgain(transferFailedText(why));
}

void DownloadMapSDPage::putOldImageBack(const QString &why)
{
    follow(CardSafetyCopy::puttingBackText(), [this, why](bool back) {
        if (back) {
            m_safetyCopy.reset();
            askToCopyAgain(transferFailedText(why) + QLatin1Char('\n') +
                           CardSafetyCopy::putBackText());
            return;
        }
        // The card is gone, or will not take the map back: the copy waits for it.
        const QString kept = m_safetyCopy->notPutBackText();
        m_safetyCopy.reset();
        keepAwake(false);
        leaveWith(tr("The transfer to preprogrammed card failed.") + QStringLiteral("<br/>") + kept,
                  pageAfterNo());
    });
    m_safetyCopy->putBack();
}

void DownloadMapSDPage::follow(const QString &text, std::function<void(bool)> done)
{
    showPercentStep(text);
    CardSafetyCopy *copy = m_safetyCopy.get();
    disconnect(copy, nullptr, this, nullptr); // what followed the last step
    connect(copy, &CardSafetyCopy::progress, this, &DownloadMapSDPage::showProgress);
    connect(copy, &CardSafetyCopy::checking, this, [this, text] { showBusy(text); });
    // Queued: `done` may replace the safety copy or the page.
    connect(copy, &CardSafetyCopy::finished, this, std::move(done), Qt::QueuedConnection);
}

void DownloadMapSDPage::askToCopyAgain(const QString &text)
{
    SupportLog::write(QStringLiteral("transfer: failed")); // why: in the pop-up that follows
    // The download is good: only the copy is made again.
    offerRetry(text, [this] { handleMd5CheckResults(true); });
}
