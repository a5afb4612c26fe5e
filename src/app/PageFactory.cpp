#include "app/PageFactory.h"

#include "app/PendingPage.h"
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
    default:
        return new PendingPage(id);
    }
}
