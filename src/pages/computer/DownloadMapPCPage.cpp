#include "pages/computer/DownloadMapPCPage.h"

#include "app/Core.h"
#include "app/CurrentProduct.h"
#include "app/SupportLog.h"
#include "app/VersionReportStep.h"
#include "download/FileDownload.h"
#include "download/PartialDownload.h"
#include "download/Unpacking.h"
#include "maps/InstallRecovery.h"
#include "maps/InstalledMaps.h"
#include "platform/platform.h"
#include "service/ProductInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <memory>

DownloadMapPCPage::DownloadMapPCPage(QWidget *parent)
    : DownloadPage(QStringLiteral("DownloadMapPCPage"),
                   QStringLiteral(":/images/image-download-to-pc.svg"),
                   tr("<html><head/><body><p>Downloading map(s)...</p></body></html>"), parent)
{
}

DownloadMapPCPage::~DownloadMapPCPage()
{
    // An install stops by itself before its first move, or runs to its end: never half-way.
    if (m_installThread) {
        m_installThread->requestInterruption();
        m_installThread->wait();
    }
}

QString DownloadMapPCPage::downloadFolder()
{
    return InstalledMaps::downloadFolder(Core::garminMapsFolder());
}

QUrl DownloadMapPCPage::downloadUrl() const
{
    return currentProduct().pcSubProduct.map;
}

QString DownloadMapPCPage::downloadTarget() const
{
    return QDir(downloadFolder()).absoluteFilePath(QStringLiteral("map_file.zip"));
}

PageId DownloadMapPCPage::pageAfterNo() const
{
    return PageId::MajorReleaseAvailablePage;
}

DownloadPage::Space DownloadMapPCPage::checkSpace(qint64 announcedBytes)
{
    // The archive and the unpacked maps both land on the maps folder's volume.
    return requireRoom(Core::garminMapsFolder(), announcedBytes,
                       tr("Not enough free space on main drive for download and installation."));
}

bool DownloadMapPCPage::prepareAttempt()
{
    if (Core::garminMapsFolder().isEmpty()) {
        giveUp(tr("The Garmin maps folder could not be found."));
        return false;
    }
    // What an interrupted install left is settled before anything is deleted.
    const QString unsettled = InstallRecovery::settle(Core::garminMapsFolder());
    if (!unsettled.isEmpty()) {
        giveUp(unsettled);
        return false;
    }
    if (!resetDownloadFolder()) {
        giveUp(tr("The folder <b>%1</b> could not be prepared for the download.")
                   .arg(QDir::toNativeSeparators(downloadFolder()).toHtmlEscaped()));
        return false;
    }
    return true;
}

bool DownloadMapPCPage::resetDownloadFolder() const
{
    // It holds nothing but the download: maps set aside lie outside it. A link in its place is
    // removed itself.
    const QString folder = downloadFolder();
    const QFileInfo info(folder);
    if (!download()->canContinue() || info.isSymLink() || info.isJunction()) {
        return Platform::instance()->removeFolder(folder) && QDir().mkpath(folder);
    }
    // Everything but the partial download the server can continue, and its record.
    const QStringList kept = {downloadTarget(), PartialDownload::recordPath(downloadTarget())};
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                             QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        const QString path = entry.absoluteFilePath();
        const bool gone =
            kept.contains(path) ||
            (entry.isDir() ? Platform::instance()->removeFolder(path) : QFile::remove(path));
        if (!gone) {
            return false;
        }
    }
    return true;
}

void DownloadMapPCPage::giveUp(const QString &message)
{
    leaveWith(message, PageId::MajorReleaseAvailablePage);
}

void DownloadMapPCPage::downloadComplete()
{
    // The computer stays awake until the checksum is known.
    showBusy(tr("Verifying downloaded map..."));
    verifyDownload(currentProduct().pcSubProduct.md5);
}

void DownloadMapPCPage::handleMd5CheckResults(bool ok)
{
    if (!ok) {
        askToDownloadAgain();
        return;
    }
    showBusy(tr("Extracting map files..."));
    // A map is files and folders: a link could lead the install anywhere.
    Unpacking::start(
        this,
        {.archive = download()->targetPath(),
         .outputFolder = downloadFolder(),
         .singleThreaded = false,
         .blockSize = extractionBlockSize,
         .filesAndFoldersOnly = true},
        [this] { handleUnzipResults(); }, [this] { askToDownloadAgain(); });
}

void DownloadMapPCPage::askToDownloadAgain()
{
    offerNewAttempt(tr("The downloaded map is corrupt. Would you like to try downloading again?"));
}

void DownloadMapPCPage::handleUnzipResults()
{
    installMap();
}

void DownloadMapPCPage::installMap()
{
    keepAwake(true);
    showBusy(tr("Installing downloaded map..."));
    const ProductInfo &product = currentProduct();
    const QString mapsFolder = Core::garminMapsFolder();
    // Both lists are taken before anything moves.
    const MapInstallPlan plan = MapInstallPlan::read(
        mapsFolder, product.pcSubProduct.fids, product.pcSubProduct.removeFids, product.isPcFormat);
    // The new map is synced to the disk first, which takes as long as writing it out.
    auto result = std::make_shared<MapInstaller::Result>();
    QThread *thread = QThread::create(
        [mapsFolder, plan, result] { *result = MapInstaller(mapsFolder).install(plan); });
    thread->setParent(this);
    connect(thread, &QThread::finished, this, [this, thread, result] {
        thread->deleteLater();
        onInstallFinished(*result);
    });
    m_installThread = thread;
    thread->start();
}

void DownloadMapPCPage::onInstallFinished(const MapInstaller::Result &result)
{
    keepAwake(false);
    using Outcome = MapInstaller::Outcome;
    static const char *const outcomes[] = {
        "complete", "no map for the product", "not moved", "not written", "interrupted", "refused"};
    SupportLog::write(QStringLiteral("install: %1 %2 %3")
                          .arg(QLatin1String(outcomes[int(result.outcome)]), result.failedFolder,
                               result.kept.join(u", ")));
    if (!result.kept.isEmpty()) {
        giveUp(InstallRecovery::keptText(result.kept));
        return;
    }
    switch (result.outcome) {
    case Outcome::Installed:
        Core::instance()->refreshInstalledMapFolders();
        InformServer();
        return;
    case Outcome::NothingToInstall:
        offerNewAttempt(tr("The downloaded map holds no map for this product. Would you like to "
                           "try downloading again?"));
        return;
    case Outcome::NotMoved:
        offerRetry(tr("The new map could not be installed: the folder <b>%1</b> could not be "
                      "moved into the Garmin maps folder (a folder of that name may be in use or "
                      "already there). Your installed map is unchanged.<br/>Would you like to try "
                      "again?")
                       .arg(result.failedFolder.toHtmlEscaped()),
                   [this] { installMap(); });
        return;
    case Outcome::NotWritten:
        offerRetry(tr("The new map could not be installed: it could not be written to the disk. "
                      "Your installed map is unchanged.<br/>Would you like to try again?"),
                   [this] { installMap(); });
        return;
    case Outcome::Refused:
        giveUp(tr("The Garmin maps folder could not be found."));
        return;
    case Outcome::Interrupted: // only while the page goes
        return;
    }
}

void DownloadMapPCPage::InformServer()
{
    VersionReportStep::sendPcVersion(currentProduct());
}
