#include "service/SdTransferReport.h"

#include "service/ServiceContext.h"
#include "service/ServiceRequests.h"
#include "service/VersionReport.h"

namespace SdTransferReport {

VersionReport *send(const ProductInfo &info, int cardIndex)
{
    const QUrl url =
        ServiceRequests::sdTransferReportUrl(info, cardIndex, ServiceContext::languageCode());
    auto *report = new VersionReport(url, VersionReport::Repeat::OnceAfterFailure);
    report->send();
    return report;
}

} // namespace SdTransferReport
