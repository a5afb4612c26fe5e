#include "download/DownloadPage.h"

#include "app/Core.h"
#include "app/Pictures.h"
#include "app/PopupDialog.h"
#include "app/SupportLog.h"
#include "app/WebLink.h"
#include "download/FileDownload.h"
#include "platform/platform.h"

#include "ui_DownloadPage.h"

#include <QFileInfo>
#include <QPointer>
#include <QTimer>

namespace {
constexpr int firstStepDelayMs = 150;
const QSize pictureSize(230, 164);
} // namespace

DownloadPage::DownloadPage(const QString &objectName, const QString &picture,
                           const QString &infoText, QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::DownloadPage>())
    , m_infoText(infoText)
    , m_download(new FileDownload(this))
{
    ui->setupUi(this);
    setObjectName(objectName);
    ui->PictureLabel->setPixmap(renderPicture(picture, pictureSize));
    ui->InfoLabel->setText(infoText);
    ui->ProgressBar->setAccessibleName(tr("Progress"));
    ui->DownloadedLabel->hide();
    ui->TimeLabel->hide();

    connect(m_download, &FileDownload::sizeKnown, this, &DownloadPage::onSizeKnown);
    connect(m_download, &FileDownload::sizeQueryFailed, this, &DownloadPage::onSizeQueryFailed);
    connect(m_download, &FileDownload::progressChanged, this, &DownloadPage::showProgress);
    connect(m_download, &FileDownload::statusChanged, this, &DownloadPage::onStatusChanged);
    connect(m_download, &FileDownload::failed, this, &DownloadPage::onDownloadFailed);
    connect(m_download, &FileDownload::finished, this, &DownloadPage::onDownloadFinished);
    // Painted first, then the work starts.
    QTimer::singleShot(firstStepDelayMs, this, &DownloadPage::firstStep);
}

DownloadPage::~DownloadPage()
{
    // A check still running belongs to this page: stop it before its thread object goes.
    const QList<CheckMd5Worker *> workers = findChildren<CheckMd5Worker *>();
    for (CheckMd5Worker *worker : workers) {
        worker->disconnect(this);
        worker->requestInterruption();
        worker->wait();
    }
    keepAwake(false);
}

void DownloadPage::firstStep()
{
    AskFileSize();
}

QString DownloadPage::failureText() const
{
    return tr("Download failed. Would you like to try again?");
}

qint64 DownloadPage::bytesAvailable(const QString &path)
{
    return Platform::instance()->bytesAvailable(path);
}

DownloadPage::Space DownloadPage::requireRoom(const QString &path, qint64 announcedBytes,
                                              const QString &message)
{
    // The file may be written on another drive than what is made of it: both must have room.
    const QString targetFolder = QFileInfo(downloadTarget()).absolutePath();
    for (const QString &where : {targetFolder, path}) {
        const qint64 available = bytesAvailable(where);
        // Divided rather than multiplied: three times an absurd announced size would overflow
        // and pass for room.
        if (available >= 0 && announcedBytes > available / 3) {
            offerRetry(message + QLatin1Char('\n') + tr("Would you like to try again?"),
                       [this] { AskFileSize(); });
            return Space::Left;
        }
    }
    return Space::Enough;
}

void DownloadPage::leaveWith(const QString &message, PageId page)
{
    if (Core::instance()->showErrorFor(this, SupportLog::withLocation(message, Qt::RichText))) {
        Core::instance()->setCurrentPage(page);
    }
}

void DownloadPage::AskFileSize()
{
    const QUrl url = downloadUrl();
    // Nothing to fetch is no failure to retry for ever: the page has nothing to do.
    if (url.isEmpty()) {
        Core::instance()->setCurrentPage(pageAfterNo());
        return;
    }
    // The addresses come from the service: a file: or data: address would fetch this computer's
    // own files or the address's own text, which the pages then unpack or start as a program.
    if (!WebLink::isWebAddress(url)) {
        leaveWith(tr("Nothing was downloaded: <b>%1</b> is not a web address.")
                      .arg(url.toDisplayString().toHtmlEscaped()),
                  pageAfterNo());
        return;
    }
    m_download->setUrl(url);
    m_download->askFileSize();
}

void DownloadPage::onSizeKnown(qint64 bytes)
{
    const QPointer<DownloadPage> guard(this);
    const Space space = checkSpace(bytes);
    if (!guard) {
        return;
    }
    if (space == Space::Enough) {
        Download();
    }
}

void DownloadPage::onSizeQueryFailed(const QString &errorText)
{
    // Like a failed download, with the network's own words on a line of their own, as text.
    offerRetry(failureText() + QLatin1Char('\n') + errorText.toHtmlEscaped(),
               [this] { AskFileSize(); });
}

void DownloadPage::Download()
{
    // Set first: the page's preparation asks whether the attempt can continue the file.
    m_download->setUrl(downloadUrl());
    m_download->setTargetPath(downloadTarget());
    if (!prepareAttempt()) {
        return;
    }
    // A new attempt after a check or an unpacking says again what is going on.
    ui->InfoLabel->setText(m_infoText);
    ui->DownloadedLabel->show();
    ui->TimeLabel->show();
    keepAwake(true);
    m_download->start();
}

void DownloadPage::showProgress(int percent)
{
    if (ui->ProgressBar->maximum() == 0) {
        ui->ProgressBar->setRange(0, 100); // the busy indicator ends with the first figures
    }
    ui->ProgressBar->setValue(percent);
}

void DownloadPage::onStatusChanged(const QString &downloaded, const QString &timeLeft)
{
    ui->DownloadedLabel->setText(downloaded);
    ui->TimeLabel->setText(timeLeft);
}

void DownloadPage::onDownloadFailed()
{
    offerNewAttempt(failureText());
}

void DownloadPage::offerNewAttempt(const QString &text)
{
    offerRetry(text, [this] { Download(); });
}

void DownloadPage::offerRetry(const QString &text, std::function<void()> retry)
{
    keepAwake(false);
    const std::optional<bool> again = PopupDialog::ask(
        this, tr("Error"), SupportLog::withLocation(text, Qt::RichText), tr("NO"), tr("YES"));
    if (!again) {
        return;
    }
    if (*again) {
        QMetaObject::invokeMethod(this, std::move(retry), Qt::QueuedConnection);
    } else {
        Core::instance()->setCurrentPage(pageAfterNo());
    }
}

void DownloadPage::onDownloadFinished()
{
    downloadComplete();
}

void DownloadPage::showBusy(const QString &text)
{
    ui->InfoLabel->setText(text);
    ui->ProgressBar->setRange(0, 0);
    ui->DownloadedLabel->hide();
    ui->TimeLabel->hide();
}

void DownloadPage::showPercentStep(const QString &text)
{
    ui->InfoLabel->setText(text);
    ui->ProgressBar->setRange(0, 100);
    ui->ProgressBar->setValue(0);
    ui->DownloadedLabel->hide();
    ui->TimeLabel->hide();
}

void DownloadPage::verifyDownload(const QString &expectedMd5)
{
    runChecksum(m_download->targetPath(), expectedMd5, CheckMd5Worker::ReadFrom::Cache,
                [this](bool ok) { handleMd5CheckResults(ok); });
}

void DownloadPage::runChecksum(const QString &path, const QString &expectedMd5,
                               CheckMd5Worker::ReadFrom readFrom, std::function<void(bool)> done)
{
    auto *worker = new CheckMd5Worker(this, path, expectedMd5, readFrom);
    connect(worker, &CheckMd5Worker::resultReady, this, std::move(done));
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
}

void DownloadPage::handleMd5CheckResults(bool) {}

void DownloadPage::setFormVisible(bool visible)
{
    ui->PictureLabel->setVisible(visible);
    ui->InfoLabel->setVisible(visible);
    ui->ProgressBar->setVisible(visible);
}

void DownloadPage::keepAwake(bool awake)
{
    if (awake) {
        Core::instance()->preventSleep();
    } else if (m_keptAwake) {
        Core::instance()->allowSleep();
    }
    m_keptAwake = awake;
}
