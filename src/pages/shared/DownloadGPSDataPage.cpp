#include "pages/shared/DownloadGPSDataPage.h"

#include "app/Core.h"
#include "app/CurrentProduct.h"
#include "app/PopupDialog.h"
#include "download/DownloadCache.h"
#include "download/Unpacking.h"
#include "service/ProductInfo.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {
QString downloadFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
}

QString dataName()
{
    return currentProduct().additionalGpsDataName;
}
} // namespace

DownloadGPSDataPage::DownloadGPSDataPage(QWidget *parent)
    : DownloadPage(QStringLiteral("DownloadGPSDataPage"),
                   QStringLiteral(":/images/image-download-to-pc.svg"),
                   tr("<html><head/><body><p>Downloading<br/><span style=\" "
                      "font-weight:600;\">%1</span>...</p></body></html>")
                       .arg(dataName().toHtmlEscaped()),
                   parent)
{
    // Nothing shows until the user has taken the offer.
    setFormVisible(false);
}

DownloadGPSDataPage::~DownloadGPSDataPage() = default;

QString DownloadGPSDataPage::folderName(const QString &dataName)
{
    // Separators, control characters and what Windows refuses in a name become blanks; trailing
    // dots and blanks go, as Windows drops them (which also leaves nothing of "." and "..").
    static const QRegularExpression unsafe(QStringLiteral("[\\x00-\\x1f\\x7f/\\\\:*?\"<>|]"));
    QString name = QString(dataName).replace(unsafe, QStringLiteral(" ")).simplified().left(100);
    while (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' '))) {
        name.chop(1);
    }
    static const QRegularExpression reserved(QStringLiteral("^(con|prn|aux|nul|com\\d|lpt\\d)$"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (reserved.match(name.section(QLatin1Char('.'), 0, 0).trimmed()).hasMatch()) {
        name.prepend(QLatin1Char('_'));
    }
    return name.isEmpty() ? QStringLiteral("additional_gps_data") : name;
}

QString DownloadGPSDataPage::dataFolder()
{
    return QDir(downloadFolder()).absoluteFilePath(folderName(dataName()));
}

QString DownloadGPSDataPage::archivePath()
{
    // In the program's own cache, where a partial download waits for a later run.
    return QDir(DownloadCache::folder())
        .absoluteFilePath(QStringLiteral("additional_gps_data.zip"));
}

QUrl DownloadGPSDataPage::downloadUrl() const
{
    return currentProduct().additionalGpsDataUrl;
}

QString DownloadGPSDataPage::downloadTarget() const
{
    return archivePath();
}

PageId DownloadGPSDataPage::pageAfterNo() const
{
    return PageId::ThankYouPage;
}

QString DownloadGPSDataPage::failureText() const
{
    return tr("The download of <b>%1</b> failed.\nWould you like to try again?")
        .arg(dataName().toHtmlEscaped());
}

void DownloadGPSDataPage::firstStep()
{
    Initialization();
}

void DownloadGPSDataPage::Initialization()
{
    if (downloadUrl().isEmpty()) {
        Core::instance()->setCurrentPage(PageId::ThankYouPage);
        return;
    }
    const std::optional<bool> wanted = PopupDialog::ask(
        this, dataName(),
        tr("Your map comes with <b>%1</b>. Would you like to download them to your %2?")
            .arg(dataName().toHtmlEscaped(), Core::computerWord()),
        tr("SKIP"), tr("YES"));
    if (!wanted) {
        return;
    }
    if (!*wanted) {
        Core::instance()->setCurrentPage(PageId::ThankYouPage);
        return;
    }
    setFormVisible(true);
    AskFileSize();
}

DownloadPage::Space DownloadGPSDataPage::checkSpace(qint64 announcedBytes)
{
    return requireRoom(downloadFolder(), announcedBytes,
                       tr("Not enough free space on main drive for download and unpacking."));
}

void DownloadGPSDataPage::downloadComplete()
{
    keepAwake(false);
    // A folder of its own: the archive's files never replace the user's own files of the same
    // name in the download folder. One that cannot be made (a file of that name is in the way)
    // is no fault of the data: the user may make room and have it unpacked again.
    if (!QDir().mkpath(dataFolder())) {
        offerRetry(tr("The folder <b>%1</b> could not be created. Would you like to try again?")
                       .arg(QDir::toNativeSeparators(dataFolder()).toHtmlEscaped()),
                   [this] { downloadComplete(); });
        return;
    }
    Unpacking::start(
        this,
        // GPS data needs no links: one from the archive could point anywhere on the computer.
        {.archive = archivePath(),
         .outputFolder = dataFolder(),
         .singleThreaded = true,
         .filesAndFoldersOnly = true},
        [this] { onUnzipFinished(); },
        [this] {
            offerNewAttempt(
                tr("The downloaded data is corrupt. Would you like to try downloading again?"));
        });
}

void DownloadGPSDataPage::onUnzipFinished()
{
    QFile::remove(archivePath());
    Core::instance()->setCurrentPage(PageId::GPSDataExtractedPage);
}
