#include "app/PageOutcomes.h"

#include "app/Core.h"
#include "app/CurrentProduct.h"
#include "app/PendingPage.h"
#include "app/PopupDialog.h"
#include "service/ProductInfo.h"

#include <QCoreApplication>
#include <QHash>
#include <QPointer>

#include <optional>

namespace {

Core *core()
{
    return Core::instance();
}

std::function<void(PendingPage *)> go(PageId next)
{
    return [next](PendingPage *) {
        core()->setCurrentPage(next);
    };
}

// A question asked on behalf of `page`. The pop-up runs its own event loop, in which the page may
// be replaced; then the answer belongs to no page any more and nothing follows from it.
std::optional<bool> ask(PendingPage *page, const QString &header, const QString &text,
                        const QString &left, const QString &right)
{
    const QPointer<PendingPage> guard(page);
    const bool accepted = PopupDialog::ask(header, text, left, right);
    if (!guard) {
        return std::nullopt;
    }
    return accepted;
}

void offerGpsData(PendingPage *page)
{
    const ProductInfo &info = currentProduct();
    if (info.additionalGpsDataUrl.isEmpty()) {
        core()->setCurrentPage(PageId::ThankYouPage);
        return;
    }
    const std::optional<bool> download =
        ask(page, info.additionalGpsDataName,
            QCoreApplication::translate(
                "DownloadGPSDataPage",
                "Your map comes with <b>%1</b>. Would you like to download them to your %2?")
                .arg(info.additionalGpsDataName, Core::computerWord()),
            QCoreApplication::translate("DownloadGPSDataPage", "SKIP"),
            QCoreApplication::translate("DownloadGPSDataPage", "YES"));
    if (!download) {
        return;
    }
    if (!*download) {
        core()->setCurrentPage(PageId::ThankYouPage);
        return;
    }
    page->setProperty("downloading", true);
    page->refreshOutcomes();
}

bool downloading(const PendingPage *page)
{
    return page->property("downloading").toBool();
}

QHash<PageId, PageBehaviour> buildTable()
{
    using P = PageId;
    QHash<PageId, PageBehaviour> table;

    table[P::DownloadBaseCampPage].outcomes = {
        {"InstallerVerifiedOutcome",
         QT_TRANSLATE_NOOP("DownloadBaseCampPage", "INSTALLER DOWNLOADED"),
         {},
         go(P::InstallBaseCampPage)},
        {"GiveUpOutcome",
         QT_TRANSLATE_NOOP("DownloadBaseCampPage", "GIVE UP AFTER A FAILURE"),
         {},
         go(P::MajorReleaseAvailablePage)},
    };
    table[P::InstallBaseCampPage].outcomes = {
        {"ContinueButton",
         QT_TRANSLATE_NOOP("InstallBaseCampPage", "CONTINUE ≻"),
         {},
         go(P::CloseGarminPage)},
    };
    table[P::DownloadGPSDataPage] = {
        150,
        &offerGpsData,
        {
            {"DataExtractedOutcome", QT_TRANSLATE_NOOP("DownloadGPSDataPage", "DATA EXTRACTED"),
             &downloading, go(P::GPSDataExtractedPage)},
            {"GiveUpOutcome", QT_TRANSLATE_NOOP("DownloadGPSDataPage", "GIVE UP AFTER A FAILURE"),
             &downloading, go(P::ThankYouPage)},
        }};
    table[P::GPSDataExtractedPage].outcomes = {
        {"NextButton",
         QT_TRANSLATE_NOOP("GPSDataExtractedPage", "NEXT ≻"),
         {},
         go(P::ThankYouPage)},
    };
    return table;
}

} // namespace

namespace PageOutcomes {

PageBehaviour of(PageId id)
{
    static const QHash<PageId, PageBehaviour> table = buildTable();
    return table.value(id);
}

QString translate(PageId id, const char *text)
{
    const char *context = QMetaEnum::fromType<PageId>().valueToKey(int(id));
    return QCoreApplication::translate(context, text);
}

} // namespace PageOutcomes
