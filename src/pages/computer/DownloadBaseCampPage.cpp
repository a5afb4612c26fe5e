#include "pages/computer/DownloadBaseCampPage.h"

#include "app/Core.h"
#include "app/CurrentProduct.h"
#include "download/DownloadCache.h"
#include "service/ProductInfo.h"

#include <QDir>

DownloadBaseCampPage::DownloadBaseCampPage(QWidget *parent)
    : DownloadPage(QStringLiteral("DownloadBaseCampPage"),
                   QStringLiteral(":/images/image-download-basecamp.svg"),
                   tr("<html><head/><body><p>Downloading Garmin BaseCamp...</p></body></html>"),
                   parent)
{
}

DownloadBaseCampPage::~DownloadBaseCampPage() = default;

QString DownloadBaseCampPage::installerPath()
{
    // In the program's own cache: no other user can swap the program started, and a partial
    // download waits there for a later run.
    return QDir(DownloadCache::folder()).absoluteFilePath(QStringLiteral("install_basecamp.exe"));
}

QUrl DownloadBaseCampPage::downloadUrl() const
{
    return currentProduct().basecampPcDownload;
}

QString DownloadBaseCampPage::downloadTarget() const
{
    return installerPath();
}

PageId DownloadBaseCampPage::pageAfterNo() const
{
    return PageId::MajorReleaseAvailablePage;
}

void DownloadBaseCampPage::firstStep()
{
    if (downloadUrl().isEmpty()) {
        leaveWith(tr("The Garmin BaseCamp installer cannot be downloaded: no web address is "
                     "given for it."),
                  pageAfterNo());
        return;
    }
    AskFileSize();
}

DownloadPage::Space DownloadBaseCampPage::checkSpace(qint64 announcedBytes)
{
    // Room for the installer where it lands, and for what it installs.
    return requireRoom(installerPath(), announcedBytes,
                       tr("Not enough free space on main drive for download and installation."));
}

void DownloadBaseCampPage::downloadComplete()
{
    keepAwake(false);
    checkMD5();
}

void DownloadBaseCampPage::checkMD5()
{
    showBusy(tr("Verifying downloaded installer..."));
    verifyDownload(currentProduct().basecampPcMd5);
}

void DownloadBaseCampPage::handleMd5CheckResults(bool ok)
{
    if (ok) {
        Core::instance()->setCurrentPage(PageId::InstallBaseCampPage);
        return;
    }
    // A checksum the service got wrong fails every download alike: after a few the user decides.
    if (++m_corruptDownloads > automaticRetries) {
        offerNewAttempt(tr("The downloaded installer is corrupt. Would you like to try "
                           "downloading again?"));
        return;
    }
    if (Core::instance()->showErrorFor(this, tr("The downloaded installer is corrupt."))) {
        Download();
    }
}
