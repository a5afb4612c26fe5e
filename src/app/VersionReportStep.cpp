#include "app/VersionReportStep.h"

#include "app/Core.h"
#include "service/PcVersionReport.h"
#include "service/SdTransferReport.h"
#include "service/SdVersionReport.h"
#include "service/VersionReport.h"

#include <QAbstractButton>

#include <functional>

namespace VersionReportStep {

namespace {
void follow(VersionReport *report, const std::function<void()> &afterFirstReply = {})
{
    Core *core = Core::instance();
    QObject::connect(report, &VersionReport::failed, core,
                     [core] { core->showError(VersionReport::failureMessage()); });
    if (afterFirstReply) {
        QObject::connect(report, &VersionReport::firstReplyEnded, core, afterFirstReply);
    }
}
} // namespace

void sendPcVersion(const ProductInfo &info)
{
    follow(PcVersionReport::send(info),
           [] { Core::instance()->setCurrentPage(PageId::InformNewPCVersionPage); });
}

void sendSdVersion(const ProductInfo &info, QAbstractButton *nextButton)
{
    VersionReport *report = SdVersionReport::send(info);
    const auto enable = [nextButton] {
        nextButton->setEnabled(true);
    };
    // Gone with the page, so nothing touches a page that has been replaced.
    QObject::connect(report, &VersionReport::failed, nextButton, enable);
    QObject::connect(report, &VersionReport::firstReplyEnded, nextButton, enable);
    follow(report);
}

void sendSdTransfer(const ProductInfo &info, int cardIndex)
{
    follow(SdTransferReport::send(info, cardIndex), [] {
        Core *core = Core::instance();
        core->setCardUpdated(true);
        core->setCurrentPage(PageId::EjectSDPage);
        core->allowSleep();
    });
}

} // namespace VersionReportStep
