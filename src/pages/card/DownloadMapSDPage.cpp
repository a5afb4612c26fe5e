#include "pages/card/DownloadMapSDPage.h"

#include "app/Core.h"
#include "app/CurrentProduct.h"
#include "app/SupportLog.h"
#include "maps/CardImage.h"
#include "platform/platform.h"
#include "service/ProductInfo.h"
#include "service/SdTransferReport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <filesystem>
#include <system_error>

namespace {
// FAT rounds every file up to whole clusters: a little slack keeps the copy beside the old image
// from running out of room at its very end.
constexpr qint64 spareBytes = 1 << 20;

QString cardRoot()
{
    return Core::instance()->cardDrive();
}

QString temporaryFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::TempLocation);
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
{
    connect(copier.get(), &FileCopier::dataTransferProgress, this,
            [this](int id, qint64 bytes) { onCopyProgress(id, qulonglong(qMax(bytes, 0))); });
    connect(copier.get(), &FileCopier::stateChanged, this, &DownloadMapSDPage::onCopyStateChanged);
    connect(copier.get(), &FileCopier::done, this, &DownloadMapSDPage::onCopyDone);
    connect(copier.get(), &FileCopier::error, this, &DownloadMapSDPage::onCopyError);
}

DownloadMapSDPage::~DownloadMapSDPage() = default;

bool DownloadMapSDPage::fileSystemHolds(const QString &fileSystemType, qint64 bytes)
{
    static const QStringList fat = {QStringLiteral("vfat"),  QStringLiteral("fat"),
                                    QStringLiteral("fat12"), QStringLiteral("fat16"),
                                    QStringLiteral("fat32"), QStringLiteral("msdos")};
    constexpr qint64 largestFatFile = (qint64(4) << 30) - 1;
    return bytes <= largestFatFile || !fat.contains(fileSystemType.toLower());
}

QString DownloadMapSDPage::partialImagePath(const QString &cardRoot)
{
    // Not ending in ".img": a GPS that finds it never takes it for a map.
    return CardImage::path(cardRoot) + QStringLiteral(".halvornsync-part");
}

QUrl DownloadMapSDPage::downloadUrl() const
{
    return currentCard().map;
}

QString DownloadMapSDPage::downloadTarget() const
{
    return QDir(temporaryFolder()).filePath(QStringLiteral("gmapsupp.img"));
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
    const Space temporary = requireRoom(
        temporaryFolder(), announcedBytes,
        tr("Not enough free space on main drive for download to temporary location.<br/>"
           "Temporary location: <b>%1</b>")
            .arg(QDir::toNativeSeparators(temporaryFolder()).toHtmlEscaped()));
    if (temporary != Space::Enough) {
        return temporary;
    }
    // The old image and an interrupted run's leftover both make way for the new one.
    const qint64 reclaimable =
        QFileInfo(CardImage::path(root)).size() + QFileInfo(partialImagePath(root)).size();
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
    showPercentStep(tr("Transferring new map to preprogrammed card..."));
    const QString root = cardRoot();
    imageSize = QFileInfo(downloadTarget()).size();
    QDir(root).mkpath(QStringLiteral("garmin"));
    QFile::remove(partialImagePath(root));

    const std::optional<Platform::Volume> card = Platform::instance()->mountedVolume(root);
    const bool roomForBoth = card && card->bytesAvailable >= imageSize + spareBytes;
    m_copyTarget = roomForBoth ? partialImagePath(root) : CardImage::path(root);
    m_copyError = FileCopier::NoError;
    if (copier->copy(downloadTarget(), m_copyTarget,
                     FileCopier::NonInteractive | FileCopier::ForceReplace) < 0) {
        askToCopyAgain(transferFailedText(errorCode(FileCopier::CannotOpenDestination)));
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
        askToCopyAgain(transferFailedText(errorCode(m_copyError)));
        return;
    }
    // The copy is only as good as what the card gives back.
    showBusy(tr("Checking the map on the preprogrammed card..."));
    runChecksum(m_copyTarget, currentCard().md5, CheckMd5Worker::ReadFrom::Medium,
                [this](bool ok) { onReadBackResult(ok); });
}

void DownloadMapSDPage::onReadBackResult(bool ok)
{
    const bool beside = m_copyTarget == partialImagePath(cardRoot());
    if (!ok) {
        if (beside) {
            QFile::remove(m_copyTarget); // the old map stays as it was
        }
        askToCopyAgain(
            transferFailedText(tr("The map on the card differs from the downloaded map.")));
        return;
    }
    if (beside && !swapInNewImage()) {
        askToCopyAgain(transferFailedText(errorCode(FileCopier::CannotRemoveDestination)));
        return;
    }
    SupportLog::write(QStringLiteral("transfer: complete, %1 bytes").arg(imageSize));
    SdTransferReport::send(currentProduct(), Core::instance()->cardIndex());
}

bool DownloadMapSDPage::swapInNewImage()
{
    const QString image = CardImage::path(cardRoot());
    const QString partial = partialImagePath(cardRoot());
    std::error_code error;
    std::filesystem::rename(QFileInfo(partial).filesystemFilePath(),
                            QFileInfo(image).filesystemFilePath(), error);
    if (!error) {
        return true;
    }
    // Where a file cannot be renamed over another, the old one goes first: the new one is
    // complete and verified by now.
    return (!QFileInfo::exists(image) || QFile::remove(image)) && QFile::rename(partial, image);
}

void DownloadMapSDPage::askToCopyAgain(const QString &text)
{
    SupportLog::write(QStringLiteral("transfer: failed")); // why: in the pop-up that follows
    // The download is good: only the copy is made again.
    offerRetry(text, [this] { handleMd5CheckResults(true); });
}
