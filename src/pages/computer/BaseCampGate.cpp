#include "pages/computer/BaseCampGate.h"

#include "app/Core.h"
#include "app/PopupDialog.h"
#include "maps/GarminApplications.h"

void BaseCampGate::enter(QObject *asker)
{
    Core *core = Core::instance();
    if (core->checkBaseCamp()) {
        core->setCurrentPage(PageId::CloseGarminPage);
        return;
    }
    if (askToDownload(asker, tr("≺ BACK")).value_or(false)) {
        core->setCurrentPage(PageId::DownloadBaseCampPage);
    }
}

std::optional<bool> BaseCampGate::askToDownload(QObject *asker, const QString &decline)
{
    return PopupDialog::ask(
        asker, tr("Garmin BaseCamp Required"),
        tr("Garmin BaseCamp (version %1 or higher) must be installed on your %2 before you can "
           "install your map.")
            .arg(GarminApplications::minimumBaseCampVersion().toString(), Core::computerWord()),
        decline, tr("NEXT ≻"));
}
