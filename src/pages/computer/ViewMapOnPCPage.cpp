#include "pages/computer/ViewMapOnPCPage.h"

#include "app/Core.h"
#include "app/PopupDialog.h"

#include "ui_ViewMapOnPCPage.h"

#include <QPointer>
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
    // The questions run nested event loops; if the wizard has moved on meanwhile, an answer
    // belongs to no page any more and must not move it again.
    const QPointer<ViewMapOnPCPage> alive(this);
    PopupDialog dialog;
    dialog.setHeader(tr("View Map on %1?").arg(Core::computerWord()));
    dialog.setText(
        tr("Would you like to be able to view your preprogrammed card on your %1 in Garmin "
           "BaseCamp?")
            .arg(Core::computerWord()));
    dialog.setLeftButtonText(tr("NO"));
    dialog.setRightButtonText(tr("YES"));
    dialog.centreOnMainWindow();
    const bool viewOnComputer = dialog.exec() == QDialog::Accepted;
    if (!alive) {
        return;
    }
    if (!viewOnComputer) {
        core->setCurrentPage(PageId::MajorReleaseAvailablePage);
        return;
    }
    if (core->checkBaseCamp()) {
        core->setCurrentPage(PageId::CloseGarminPage);
        return;
    }
    dialog.setHeader(tr("Garmin BaseCamp Required"));
    dialog.setText(tr("Garmin BaseCamp (version 4.6.2 or higher) must be installed on your %1 "
                      "before you can install your map.")
                       .arg(Core::computerWord()));
    dialog.setLeftButtonText(tr("SKIP"));
    dialog.setRightButtonText(tr("NEXT ≻"));
    dialog.centreOnMainWindow();
    const bool download = dialog.exec() == QDialog::Accepted;
    if (alive) {
        core->setCurrentPage(download ? PageId::DownloadBaseCampPage
                                      : PageId::MajorReleaseAvailablePage);
    }
}
