#pragma once

class ProductInfo;
class VersionReport;

// Tells the service that the cards now carry the product's latest version. Nothing is repeated;
// a reply that has not ended after 15 s is given up as failed. The sender follows the returned
// report (VersionReport's signals).
namespace SdVersionReport {

VersionReport *send(const ProductInfo &info);

inline constexpr int defaultTimeoutMs = 15000;
// Tests shorten the wait for a silent service; the program always uses the default.
void setTimeoutMs(int milliseconds);
int timeoutMs();

} // namespace SdVersionReport
