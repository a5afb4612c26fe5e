#include "service/SdVersionReport.h"

#include "service/ServiceContext.h"
#include "service/ServiceRequests.h"
#include "service/VersionReport.h"

namespace SdVersionReport {

namespace {
int s_timeoutMs = defaultTimeoutMs;
} // namespace

void setTimeoutMs(int milliseconds)
{
    s_timeoutMs = milliseconds;
}

int timeoutMs()
{
    return s_timeoutMs;
}

VersionReport *send(const ProductInfo &info)
{
    const QUrl url = ServiceRequests::sdVersionReportUrl(info, ServiceContext::languageCode());
    auto *report = new VersionReport(url, VersionReport::Repeat::Never, s_timeoutMs);
    report->send();
    return report;
}

} // namespace SdVersionReport
