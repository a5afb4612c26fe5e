#include "pages/computer/InstallBaseCampPage.h"

#include "app/PageLink.h"
#include "pages/computer/DownloadBaseCampPage.h"
#include "platform/platform.h"

#include "ui_InstallBaseCampPage.h"

#include <QFileInfo>
#include <QTimer>

InstallBaseCampPage::InstallBaseCampPage(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::InstallBaseCampPage>())
{
    ui->setupUi(this);
    // Works at once: the user may have installed BaseCamp another way, or given up on it.
    PageLink::goOnClick(ui->ContinueButton, PageId::CloseGarminPage);
    QTimer::singleShot(150, this, &InstallBaseCampPage::RunInstaller);
}

InstallBaseCampPage::~InstallBaseCampPage() = default;

void InstallBaseCampPage::RunInstaller()
{
    if (Platform::instance()->startDetached(DownloadBaseCampPage::installerPath())) {
        return;
    }
    // Not announced as launched: the user is told where to start it by hand.
    ui->InfoLabel->setText(
        tr("<html><head/><body><p>The Garmin BaseCamp installer could not be started.<br/>"
           "Please run <b>%1</b> from the Downloads folder.</p><p>Please follow the steps in the "
           "Garmin BaseCamp installer.</p><p>Once installed, please come back to this window and "
           "click <span style=\" font-weight:600;\">Continue</span>.</p></body></html>")
            .arg(QFileInfo(DownloadBaseCampPage::installerPath()).fileName().toHtmlEscaped()));
}
