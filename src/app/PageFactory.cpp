#include "app/PageFactory.h"

#include "app/PendingPage.h"
#include "pages/computer/CloseGarminPage.h"
#include "pages/computer/ViewMapOnPCPage.h"
#include "pages/opening/ChooseLanguagePage.h"
#include "pages/opening/HighSpeedConnectionRequiredPage.h"
#include "pages/opening/InstallUpdateUninstallPage.h"

QWidget *createPage(PageId id)
{
    switch (id) {
    case PageId::ChooseLanguagePage:
        return new ChooseLanguagePage;
    case PageId::InstallUpdateUninstallPage:
        return new InstallUpdateUninstallPage;
    case PageId::HighSpeedConnectionRequiredPage:
        return new HighSpeedConnectionRequiredPage;
    case PageId::CloseGarminPage:
        return new CloseGarminPage;
    case PageId::ViewMapOnPCPage:
        return new ViewMapOnPCPage;
    default:
        return new PendingPage(id);
    }
}
