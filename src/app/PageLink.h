#pragma once

#include "app/PageId.h"

class QAbstractButton;

// The buttons that simply move the wizard to another page.
namespace PageLink {

// Each click of `button` asks Core for the page `id`. The click must be the last thing the
// button's page does: the page is deleted before the call returns.
void goOnClick(QAbstractButton *button, PageId id);

} // namespace PageLink
