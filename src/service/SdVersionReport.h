#pragma once

class ProductInfo;
class QAbstractButton;

// Tells the service that the cards now carry the product's latest version. The wizard does not
// move: when the reply ends, or fails (after 15 s without an answer at the latest), `nextButton`
// is enabled so the user can go on; a failure also shows the failure message. Nothing is repeated.
// Sent by InformNewSDVersionPage::InformServer.
namespace SdVersionReport {

void send(const ProductInfo &info, QAbstractButton *nextButton);

inline constexpr int defaultTimeoutMs = 15000;
// Tests shorten the wait for a silent service; the program always uses the default.
void setTimeoutMs(int milliseconds);
int timeoutMs();

} // namespace SdVersionReport
