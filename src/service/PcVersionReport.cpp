#include "service/PcVersionReport.h"

#include "service/ServiceContext.h"
#include "service/ServiceRequests.h"
#include "service/VersionReport.h"

#include <QDebug>

namespace PcVersionReport {

VersionReport *send(const ProductInfo &info)
{
    const QUrl url = ServiceRequests::pcVersionReportUrl(info, ServiceContext::languageCode());
    qDebug().noquote() << url.toString(QUrl::FullyEncoded);
    auto *report = new VersionReport(url, VersionReport::Repeat::OnceAfterFailure);
    report->send();
    return report;
}

} // namespace PcVersionReport
