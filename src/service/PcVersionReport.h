#pragma once

class ProductInfo;
class VersionReport;

// Tells the service that the product's latest version is now installed on the computer. A failure
// is sent once more. The sender follows the returned report (VersionReport's signals).
namespace PcVersionReport {

VersionReport *send(const ProductInfo &info);

} // namespace PcVersionReport
