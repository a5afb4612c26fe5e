#include "pages/computer/BaseCampGate.h"

#include "app/Core.h"
#include "app/PopupDialog.h"

void BaseCampGate::enter()
{
    Core *core = Core::instance();
    if (core->checkBaseCamp()) {
        core->setCurrentPage(PageId::CloseGarminPage);
        return;
    }
    const bool download = PopupDialog::ask(
        tr("Garmin BaseCamp Required"),
        tr("Garmin BaseCamp (version 4.6.2 or higher) must be installed on your %1 before you can "
           "install your map.")
            .arg(Core::computerWord()),
        tr("≺ BACK"), tr("NEXT ≻"));
    if (download) {
        core->setCurrentPage(PageId::DownloadBaseCampPage);
    }
}
