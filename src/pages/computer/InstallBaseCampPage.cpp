#include "pages/computer/InstallBaseCampPage.h"

#include "app/PageLink.h"
#include "pages/computer/DownloadBaseCampPage.h"
#include "platform/platform.h"

#include "ui_InstallBaseCampPage.h"

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
    // Whether it started is not looked at: the page already tells the user to run it from the
    // Downloads folder otherwise.
    Platform::instance()->startDetached(DownloadBaseCampPage::installerPath());
}
