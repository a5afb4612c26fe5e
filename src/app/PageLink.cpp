#include "app/PageLink.h"

#include "app/Core.h"

#include <QAbstractButton>

namespace PageLink {

void goOnClick(QAbstractButton *button, PageId id)
{
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [id] { Core::instance()->setCurrentPage(id); });
}

} // namespace PageLink
