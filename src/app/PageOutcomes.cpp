#include "app/PageOutcomes.h"

#include "app/Core.h"
#include "app/CurrentProduct.h"
#include "app/PendingPage.h"
#include "service/ProductInfo.h"

#include <QCoreApplication>
#include <QHash>

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

void ejectCard(PendingPage *)
{
    Core *c = core();
    c->setCardIndex(c->cardIndex() + 1);
    if (c->cardIndex() < currentProduct().sdSubProducts.size()) {
        c->setCurrentPage(PageId::InsertSDPage);
    } else if (c->cardUpdated()) {
        c->setCurrentPage(PageId::InformNewSDVersionPage);
    } else {
        c->setCurrentPage(PageId::ViewMapOnPCPage);
    }
}

QHash<PageId, PageBehaviour> buildTable()
{
    using P = PageId;
    QHash<PageId, PageBehaviour> table;

    table[P::InsertSDPage].outcomes = {
        {"ContinueButton",
         QT_TRANSLATE_NOOP("InsertSDPage", "CONTINUE ≻"),
         {},
         [](PendingPage *) {
             core()->setCurrentPage(currentProduct().latestNewerThanSd
                                        ? P::SDUpdatesAvailablePage
                                        : P::NoSDUpdatesAvailablePage);
         }},
    };
    table[P::DownloadMapSDPage].outcomes = {
        {"MapCopiedOutcome",
         QT_TRANSLATE_NOOP("DownloadMapSDPage", "MAP COPIED TO THE CARD"),
         {},
         [](PendingPage *) {
             core()->setCardUpdated(true);
             core()->setCurrentPage(P::EjectSDPage);
         }},
        {"GiveUpOutcome",
         QT_TRANSLATE_NOOP("DownloadMapSDPage", "GIVE UP AFTER A FAILURE"),
         {},
         go(P::EjectSDPage)},
    };
    table[P::EjectSDPage].outcomes = {
        {"CardRemovedOutcome", QT_TRANSLATE_NOOP("EjectSDPage", "CARD REMOVED"), {}, &ejectCard},
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
