#pragma once

class ProductInfo;
class QAbstractButton;

// The version reports as the wizard sends them. Every failed reply shows the failure message; the
// first reply's end, failed or not, is what moves the wizard on, so a repeated report never moves
// it again. A report outlives the page that sends it, and so does what follows it here.
namespace VersionReportStep {

// Sent by DownloadMapPCPage::InformServer: on to InformNewPCVersionPage.
void sendPcVersion(const ProductInfo &info);
// Sent by InformNewSDVersionPage::InformServer: the wizard does not move; `nextButton` is enabled,
// while it exists, when the reply ends or fails (before the failure message), so the user goes on.
void sendSdVersion(const ProductInfo &info, QAbstractButton *nextButton);
// Sent by DownloadMapSDPage once the card holds its map: Core records that a card was updated,
// the wizard moves on to EjectSDPage and the computer may sleep again.
void sendSdTransfer(const ProductInfo &info, int cardIndex);

} // namespace VersionReportStep
