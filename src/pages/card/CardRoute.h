#pragma once

// The start of the preprogrammed-card route (after UpdateFirmwarePage, for a card product): the
// product's cards are handled from the first one, and the product's own cards alone decide
// whether a card was updated. So a card product started with "Update Another Product" after an
// earlier one in the same run is neither reported nor announced as updated unless one of its
// own cards was written.
namespace CardRoute {

void begin();

} // namespace CardRoute
