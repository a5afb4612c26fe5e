#include "service/SdVersionReport.h"

#include "app/Core.h"
#include "service/ServiceRequests.h"
#include "service/VersionReport.h"

#include <QAbstractButton>
#include <QPointer>

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

void send(const ProductInfo &info, QAbstractButton *nextButton)
{
    const QUrl url = ServiceRequests::sdVersionReportUrl(info, Core::languageCode());
    auto *report = new VersionReport(url, VersionReport::Repeat::Never, s_timeoutMs);
    // The page may be gone by the time the reply ends.
    const QPointer<QAbstractButton> button(nextButton);
    const auto enable = [button] {
        if (button) {
            button->setEnabled(true);
        }
    };
    QObject::connect(report, &VersionReport::failed, report, enable);
    QObject::connect(report, &VersionReport::firstReplyEnded, report, enable);
    report->send();
}

} // namespace SdVersionReport
