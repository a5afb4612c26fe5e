#pragma once

class ProductInfo;

// Tells the service that the product's latest version is now installed on the computer, then moves
// the wizard on to InformNewPCVersionPage, whether the report got through or not. A failure shows
// the failure message and the report is sent once more; that repeat leaves the wizard alone.
// Sent by DownloadMapPCPage::InformServer.
namespace PcVersionReport {

void send(const ProductInfo &info);

} // namespace PcVersionReport
