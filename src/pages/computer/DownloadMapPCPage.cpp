#include "pages/computer/DownloadMapPCPage.h"

#include "app/Core.h"
#include "app/CurrentProduct.h"
#include "app/SupportLog.h"
#include "download/FileDownload.h"
#include "download/Unpacking.h"
#include "maps/InstalledMaps.h"
#include "maps/MapInstaller.h"
#include "service/PcVersionReport.h"
#include "service/ProductInfo.h"

#include <QDir>

namespace {
QList<MapInstallPlan::Map> readMaps(const QStringList &infoFiles)
{
    QList<MapInstallPlan::Map> maps;
    for (const QString &infoFile : infoFiles) {
        maps.append({QFileInfo(infoFile).path(), Core::readMapId(infoFile)});
    }
    return maps;
}
} // namespace

DownloadMapPCPage::DownloadMapPCPage(QWidget *parent)
    : DownloadPage(QStringLiteral("DownloadMapPCPage"),
                   QStringLiteral(":/images/image-download-to-pc.svg"),
                   tr("<html><head/><body><p>Downloading map(s)...</p></body></html>"), parent)
{
}

DownloadMapPCPage::~DownloadMapPCPage() = default;

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
    // A map an interrupted install set aside goes back before its folder can be deleted.
    if (!MapInstaller(Core::garminMapsFolder()).recover()) {
        giveUp(tr("An earlier installation could not be undone. The maps it set aside are in "
                  "<b>%1</b>.")
                   .arg(QDir::toNativeSeparators(downloadFolder()).toHtmlEscaped()));
        return false;
    }
    QDir folder(downloadFolder());
    if (!folder.removeRecursively() || !folder.mkpath(QStringLiteral("."))) {
        giveUp(tr("The folder <b>%1</b> could not be prepared for the download.")
                   .arg(QDir::toNativeSeparators(downloadFolder()).toHtmlEscaped()));
        return false;
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
    keepAwake(false);
    if (!ok) {
        askToDownloadAgain();
        return;
    }
    showBusy(tr("Extracting map files..."));
    Unpacking::start(
        this, {download()->targetPath(), downloadFolder(), false, extractionBlockSize},
        [this] { handleUnzipResults(); }, [this] { askToDownloadAgain(); });
}

void DownloadMapPCPage::askToDownloadAgain()
{
    offerNewAttempt(tr("The downloaded map is corrupt. Would you like to try downloading again?"));
}

void DownloadMapPCPage::handleUnzipResults()
{
    keepAwake(false);
    showBusy(tr("Installing downloaded map..."));
    // Painted now: the installation that follows keeps the event loop busy for a moment.
    repaint();
    installMap();
}

void DownloadMapPCPage::installMap()
{
    const ProductInfo &product = currentProduct();
    // Both lists are taken before anything moves.
    const MapInstallPlan plan = MapInstallPlan::make(
        readMaps(Core::installedMapInfoFiles()), readMaps(Core::findInfoFiles(downloadFolder())),
        product.pcSubProduct.fids, product.pcSubProduct.removeFids, product.isPcFormat);
    const MapInstaller::Result result = MapInstaller(Core::garminMapsFolder()).install(plan);
    SupportLog::write(result.installed
                          ? QStringLiteral("install: complete")
                          : QStringLiteral("install: failed at ") + result.failedFolder);
    if (result.installed) {
        Core::instance()->refreshInstalledMapFolders();
        InformServer();
        return;
    }

    offerRetry(
        tr("The new map could not be installed: the folder <b>%1</b> could not be moved into the "
           "Garmin maps folder (a folder of that name may be in use or already there). Your "
           "installed map is unchanged.<br/>Would you like to try again?")
            .arg(result.failedFolder.toHtmlEscaped()),
        [this] { installMap(); });
}

void DownloadMapPCPage::InformServer()
{
    PcVersionReport::send(currentProduct());
}
