#pragma once

class ProductInfo;
struct SdSubProduct;

// The product the wizard works on. Before the first product-information reply there is no record;
// an empty one stands in (a card product with nothing to write), so no page reads through a null
// record.
const ProductInfo &currentProduct();

// The card of that product the wizard is at (Core's card index); an empty one past the last.
const SdSubProduct &currentCard();
