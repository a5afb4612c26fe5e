#pragma once

class ProductInfo;

// Tells the service that the card at cardIndex has received its map. When the first reply ends,
// successfully or not, Core records that a card was updated, the wizard moves on to EjectSDPage
// and the computer may sleep again. A failure shows the failure message and the report is sent
// once more; that repeat touches neither the wizard nor the sleep state, which by then may belong
// to later work. Sent by DownloadMapSDPage::onCopyDone(false).
namespace SdTransferReport {

void send(const ProductInfo &info, int cardIndex);

} // namespace SdTransferReport
