#include "app/PageFactory.h"

#include "pages/card/DownloadMapSDPage.h"
#include "pages/card/EjectSDPage.h"
#include "pages/card/InformNewSDVersionPage.h"
#include "pages/card/InsertSDPage.h"
#include "pages/card/NoSDUpdatesAvailablePage.h"
#include "pages/card/SDUpdatesAvailablePage.h"
#include "pages/computer/CloseGarminPage.h"
#include "pages/computer/DownloadBaseCampPage.h"
#include "pages/computer/DownloadMapPCPage.h"
#include "pages/computer/InformNewPCVersionPage.h"
#include "pages/computer/InstallBaseCampPage.h"
#include "pages/computer/NoPCUpdatesAvailablePage.h"
#include "pages/computer/PCUpdatesAvailablePage.h"
#include "pages/computer/ProductsUninstalledPage.h"
#include "pages/computer/SelectProductsPage.h"
#include "pages/computer/TransferToGPS2Page.h"
#include "pages/computer/TransferToGPS3Page.h"
#include "pages/computer/UninstallingPage.h"
#include "pages/computer/ViewMapOnPCPage.h"
#include "pages/opening/ChooseLanguagePage.h"
#include "pages/opening/HighSpeedConnectionRequiredPage.h"
#include "pages/opening/InstallUpdateUninstallPage.h"
#include "pages/shared/DownloadGPSDataPage.h"
#include "pages/shared/GPSDataExtractedPage.h"
#include "pages/shared/MajorReleaseAvailablePage.h"
#include "pages/shared/ThankYouPage.h"
#include "pages/shared/UpdateFirmwarePage.h"

QWidget *createPage(PageId id)
{
    switch (id) {
    case PageId::ChooseLanguagePage:
        return new ChooseLanguagePage;
    case PageId::InstallUpdateUninstallPage:
        return new InstallUpdateUninstallPage;
    case PageId::SelectProductsPage:
        return new SelectProductsPage;
    case PageId::UninstallingPage:
        return new UninstallingPage;
    case PageId::ProductsUninstalledPage:
        return new ProductsUninstalledPage;
    case PageId::HighSpeedConnectionRequiredPage:
        return new HighSpeedConnectionRequiredPage;
    case PageId::UpdateFirmwarePage:
        return new UpdateFirmwarePage;
    case PageId::InsertSDPage:
        return new InsertSDPage;
    case PageId::DownloadMapSDPage:
        return new DownloadMapSDPage;
    case PageId::EjectSDPage:
        return new EjectSDPage;
    case PageId::SDUpdatesAvailablePage:
        return new SDUpdatesAvailablePage;
    case PageId::NoSDUpdatesAvailablePage:
        return new NoSDUpdatesAvailablePage;
    case PageId::InformNewSDVersionPage:
        return new InformNewSDVersionPage;
    case PageId::CloseGarminPage:
        return new CloseGarminPage;
    case PageId::ViewMapOnPCPage:
        return new ViewMapOnPCPage;
    case PageId::PCUpdatesAvailablePage:
        return new PCUpdatesAvailablePage;
    case PageId::NoPCUpdatesAvailablePage:
        return new NoPCUpdatesAvailablePage;
    case PageId::DownloadMapPCPage:
        return new DownloadMapPCPage;
    case PageId::InformNewPCVersionPage:
        return new InformNewPCVersionPage;
    case PageId::MajorReleaseAvailablePage:
        return new MajorReleaseAvailablePage;
    case PageId::TransferToGPS2Page:
        return new TransferToGPS2Page;
    case PageId::TransferToGPS3Page:
        return new TransferToGPS3Page;
    case PageId::DownloadBaseCampPage:
        return new DownloadBaseCampPage;
    case PageId::InstallBaseCampPage:
        return new InstallBaseCampPage;
    case PageId::DownloadGPSDataPage:
        return new DownloadGPSDataPage;
    case PageId::GPSDataExtractedPage:
        return new GPSDataExtractedPage;
    case PageId::ThankYouPage:
        return new ThankYouPage;
    }
    return nullptr;
}
