#include "app/PageFactory.h"

#include "app/PendingPage.h"
#include "pages/computer/CloseGarminPage.h"
#include "pages/computer/ViewMapOnPCPage.h"

QWidget *createPage(PageId id)
{
    switch (id) {
    case PageId::CloseGarminPage:
        return new CloseGarminPage;
    case PageId::ViewMapOnPCPage:
        return new ViewMapOnPCPage;
    default:
        return new PendingPage(id);
    }
}
