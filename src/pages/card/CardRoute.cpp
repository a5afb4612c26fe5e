#include "pages/card/CardRoute.h"

#include "app/Core.h"

namespace CardRoute {

void begin()
{
    Core *core = Core::instance();
    core->setCardIndex(0);
    core->setCardUpdated(false);
    core->setCurrentPage(PageId::InsertSDPage);
}

} // namespace CardRoute
