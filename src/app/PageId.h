#pragma once

#include <QMetaEnum>
#include <QObject>

namespace PageIds {
Q_NAMESPACE

// One value per page class, named after it. The numeric values are internal: nothing stores them.
enum class PageId : quint8
{
    ChooseLanguagePage,
    InstallUpdateUninstallPage,
    SelectProductsPage,
    UninstallingPage,
    ProductsUninstalledPage,
    HighSpeedConnectionRequiredPage,
    UpdateFirmwarePage,
    InsertSDPage,
    SDUpdatesAvailablePage,
    NoSDUpdatesAvailablePage,
    DownloadMapSDPage,
    EjectSDPage,
    InformNewPCVersionPage,
    InformNewSDVersionPage,
    ViewMapOnPCPage,
    DownloadBaseCampPage,
    InstallBaseCampPage,
    CloseGarminPage,
    PCUpdatesAvailablePage,
    NoPCUpdatesAvailablePage,
    DownloadMapPCPage,
    MajorReleaseAvailablePage,
    TransferToGPS2Page,
    TransferToGPS3Page,
    DownloadGPSDataPage,
    GPSDataExtractedPage,
    ThankYouPage,
};
Q_ENUM_NS(PageId)

} // namespace PageIds

using PageId = PageIds::PageId;

// The class name of the page an id stands for, which is also that page's object name.
inline QString pageClassName(PageId id)
{
    return QString::fromLatin1(QMetaEnum::fromType<PageId>().valueToKey(int(id)));
}
