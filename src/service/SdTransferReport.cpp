#include "service/SdTransferReport.h"

#include "app/Core.h"
#include "service/ServiceRequests.h"
#include "service/VersionReport.h"

namespace SdTransferReport {

void send(const ProductInfo &info, int cardIndex)
{
    const QUrl url = ServiceRequests::sdTransferReportUrl(info, cardIndex, Core::languageCode());
    auto *report = new VersionReport(url, VersionReport::Repeat::OnceAfterFailure);
    QObject::connect(report, &VersionReport::firstReplyEnded, report, [] {
        Core *core = Core::instance();
        core->setCardUpdated(true);
        core->setCurrentPage(PageId::EjectSDPage);
        core->allowSleep();
    });
    report->send();
}

} // namespace SdTransferReport
