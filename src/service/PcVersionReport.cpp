#include "service/PcVersionReport.h"

#include "app/Core.h"
#include "service/ServiceRequests.h"
#include "service/VersionReport.h"

#include <QDebug>

namespace PcVersionReport {

void send(const ProductInfo &info)
{
    const QUrl url = ServiceRequests::pcVersionReportUrl(info, Core::languageCode());
    qDebug().noquote() << url.toString(QUrl::FullyEncoded);
    auto *report = new VersionReport(url, VersionReport::Repeat::OnceAfterFailure);
    QObject::connect(report, &VersionReport::firstReplyEnded, report,
                     [] { Core::instance()->setCurrentPage(PageId::InformNewPCVersionPage); });
    report->send();
}

} // namespace PcVersionReport
