#include "pages/computer/TransferToGPS3Page.h"

#include "app/Core.h"
#include "app/PageLink.h"
#include "platform/platform.h"

#include "ui_TransferToGPS3Page.h"

#include <QTimer>

TransferToGPS3Page::TransferToGPS3Page(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TransferToGPS3Page>())
{
    ui->setupUi(this);
    ui->InfoLabel->setText(ui->InfoLabel->text().arg(tr("Start Menu")));
    PageLink::goOnClick(ui->ContinueButton, PageId::DownloadGPSDataPage);
    // Started once the page is painted, so the user reads where MapInstall comes from.
    QTimer::singleShot(100, this, &TransferToGPS3Page::Initialization);
}

TransferToGPS3Page::~TransferToGPS3Page() = default;

void TransferToGPS3Page::Initialization()
{
    // Whether it started is not looked at: the page already tells the user to start it from the
    // Start menu otherwise. Without a path (no BaseCamp check has succeeded) there is nothing to
    // start.
    const QString mapInstall = Core::instance()->mapInstallPath();
    if (!mapInstall.isEmpty()) {
        Platform::instance()->startDetached(mapInstall);
    }
}
