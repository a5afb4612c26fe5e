#pragma once

class ProductInfo;
class VersionReport;

// Tells the service that the card at cardIndex has received its map. A failure is sent once more.
// The sender follows the returned report (VersionReport's signals).
namespace SdTransferReport {

VersionReport *send(const ProductInfo &info, int cardIndex);

} // namespace SdTransferReport
