#include "TourRoute.h"
#include "app/Core.h"
#include "service/ProductInfo.h"

namespace {

enum class Kind
{
    ComputerOutOfDate,
    ComputerUpToDate,
    TwoCardsNewer,
    OneCardUpToDate,
};

// The product the vendor's service would describe.
ProductInfo *sampleProduct(Kind kind)
{
    auto *info = new ProductInfo;
    info->productName = QStringLiteral("Halvorn Topo Nordic");
    info->latestVersion = QVersionNumber(24, 2, 0);
    info->isPcFormat = kind == Kind::ComputerOutOfDate || kind == Kind::ComputerUpToDate;
    info->majorProductReleaseAvailable = kind == Kind::ComputerOutOfDate;
    if (kind == Kind::ComputerOutOfDate) {
        info->additionalGpsDataName = QStringLiteral("Halvorn Trails");
        info->additionalGpsDataUrl = QUrl(QStringLiteral("https://www.halvorn.com/trails.zip"));
    }
    if (kind == Kind::TwoCardsNewer) {
        info->productName = QStringLiteral("Halvorn Topo Nordic SD");
        info->sdSubProducts = {{QStringLiteral("Nordic North"), {}, {}, 4101},
                               {QStringLiteral("Nordic South"), {}, {}, 4102}};
        info->latestNewerThanSd = true;
    }
    if (kind == Kind::OneCardUpToDate) {
        info->productName = QStringLiteral("Halvorn Topo Alps SD");
        info->sdSubProducts = {{QStringLiteral("Alps"), {}, {}, 4201}};
    }
    return info;
}

std::function<void()> product(Kind kind)
{
    return [kind] {
        Core::instance()->setProductInfo(sampleProduct(kind));
    };
}

const bool Accept = true;
const bool Decline = false;

} // namespace

QList<TourRoute> tourRoutes(const QString &languageButton)
{
    QList<TourRoute> routes;

    routes.append({QStringLiteral("Computer map, out of date"),
                   product(Kind::ComputerOutOfDate),
                   {
                       {"ChooseLanguagePage", languageButton, {}},
                       {"InstallUpdateUninstallPage", "InstallUpdateButton", {}},
                       {"HighSpeedConnectionRequiredPage", "NextButton", {}},
                       {"UpdateFirmwarePage", "NextButton", {{"basecamp-required", Accept}}},
                       {"DownloadBaseCampPage", "InstallerVerifiedOutcome", {}},
                       {"InstallBaseCampPage", "ContinueButton", {}},
                       {"CloseGarminPage", "OutOfDateOutcome", {}},
                       {"PCUpdatesAvailablePage", "UpdateNowButton", {}},
                       {"DownloadMapPCPage", "MapInstalledOutcome", {}},
                       {"InformNewPCVersionPage", "NextButton", {}},
                       {"MajorReleaseAvailablePage", "SkipButton", {{"transfer-to-gps", Accept}}},
                       {"TransferToGPS2Page", "NextButton", {}},
                       {"TransferToGPS3Page", "ContinueButton", {{"gps-data", Accept}}},
                       {"DownloadGPSDataPage", "DataExtractedOutcome", {}},
                       {"GPSDataExtractedPage", "NextButton", {}},
                       {"ThankYouPage", {}, {}},
                   }});

    // Each further product starts again from the thank-you page, as a user would.
    routes.append({QStringLiteral("Computer map, up to date"),
                   product(Kind::ComputerUpToDate),
                   {
                       {"ThankYouPage", "UpdateAnotherButton", {}},
                       {"UpdateFirmwarePage", "NextButton", {{"basecamp-required", Accept}}},
                       {"DownloadBaseCampPage", "InstallerVerifiedOutcome", {}},
                       {"InstallBaseCampPage", "ContinueButton", {}},
                       {"CloseGarminPage", "UpToDateOutcome", {}},
                       {"NoPCUpdatesAvailablePage", "NextButton", {{"transfer-to-gps", Decline}}},
                       {"MajorReleaseAvailablePage", {}, {}},
                       {"DownloadGPSDataPage", {}, {}},
                       {"ThankYouPage", {}, {}},
                   }});

    routes.append({QStringLiteral("Two preprogrammed cards, update available"),
                   product(Kind::TwoCardsNewer),
                   {
                       {"ThankYouPage", "UpdateAnotherButton", {}},
                       {"UpdateFirmwarePage", "NextButton", {}},
                       {"InsertSDPage", "ContinueButton", {}},
                       {"SDUpdatesAvailablePage", "UpdateNowButton", {}},
                       {"DownloadMapSDPage", "MapCopiedOutcome", {}},
                       {"EjectSDPage", "CardRemovedOutcome", {}},
                       {"InsertSDPage", "ContinueButton", {}},
                       {"SDUpdatesAvailablePage", "SkipButton", {}},
                       {"EjectSDPage", "CardRemovedOutcome", {}},
                       {"InformNewSDVersionPage",
                        "NextButton",
                        {{"view-map-on-pc", Accept}, {"basecamp-required", Decline}}},
                       {"ViewMapOnPCPage", {}, {}},
                       {"MajorReleaseAvailablePage", {}, {}},
                       {"DownloadGPSDataPage", {}, {}},
                       {"ThankYouPage", {}, {}},
                   }});

    routes.append({QStringLiteral("Preprogrammed card, up to date"),
                   product(Kind::OneCardUpToDate),
                   {
                       {"ThankYouPage", "UpdateAnotherButton", {}},
                       {"UpdateFirmwarePage", "NextButton", {}},
                       {"InsertSDPage", "ContinueButton", {}},
                       {"NoSDUpdatesAvailablePage", "NextButton", {}},
                       {"EjectSDPage", "CardRemovedOutcome", {{"view-map-on-pc", Decline}}},
                       {"ViewMapOnPCPage", {}, {}},
                       {"MajorReleaseAvailablePage", {}, {}},
                       {"DownloadGPSDataPage", {}, {}},
                       {"ThankYouPage", {}, {}},
                   }});

    routes.append({QStringLiteral("Uninstalling maps"),
                   [] { Core::instance()->setCurrentPage(PageId::ChooseLanguagePage); },
                   {
                       {"ChooseLanguagePage", languageButton, {}},
                       {"InstallUpdateUninstallPage", "UninstallButton", {}},
                       {"SelectProductsPage", "UninstallButton", {}},
                       {"UninstallingPage", "MapsRemovedOutcome", {}},
                       {"ProductsUninstalledPage", "NextButton", {}},
                       {"ThankYouPage", {}, {}},
                   }});
    return routes;
}
