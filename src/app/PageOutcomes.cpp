#include "app/PageOutcomes.h"

#include "app/PendingPage.h"

#include <QCoreApplication>
#include <QHash>

namespace {

// Every page of the wizard is built now: no placeholder has outcomes left to offer.
QHash<PageId, PageBehaviour> buildTable()
{
    return {};
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
