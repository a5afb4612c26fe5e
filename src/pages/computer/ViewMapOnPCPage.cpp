#include "pages/computer/ViewMapOnPCPage.h"

#include "app/Core.h"
#include "app/PopupDialog.h"
#include "pages/computer/BaseCampGate.h"

#include "ui_ViewMapOnPCPage.h"

#include <QTimer>

ViewMapOnPCPage::ViewMapOnPCPage(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::ViewMapOnPCPage>())
{
    ui->setupUi(this);
    QTimer::singleShot(150, this, &ViewMapOnPCPage::initialization);
}

ViewMapOnPCPage::~ViewMapOnPCPage() = default;

void ViewMapOnPCPage::initialization()
{
    Core *core = Core::instance();
    const std::optional<bool> viewOnComputer = PopupDialog::ask(
        this, tr("View Map on %1?").arg(Core::computerWord()),
        tr("Would you like to be able to view your preprogrammed card on your %1 in Garmin "
           "BaseCamp?")
            .arg(Core::computerWord()),
        tr("NO"), tr("YES"));
    if (!viewOnComputer) {
        return;
    }
    if (!*viewOnComputer) {
        core->setCurrentPage(PageId::MajorReleaseAvailablePage);
        return;
    }
    if (core->checkBaseCamp()) {
        core->setCurrentPage(PageId::CloseGarminPage);
        return;
    }
    const std::optional<bool> download = BaseCampGate::askToDownload(this, tr("SKIP"));
    if (download) {
        core->setCurrentPage(*download ? PageId::DownloadBaseCampPage
                                       : PageId::MajorReleaseAvailablePage);
    }
}
