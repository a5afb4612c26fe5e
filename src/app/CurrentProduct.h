#pragma once

class ProductInfo;

// The product the wizard works on. Before the first product-information reply there is no record;
// an empty one stands in (a card product with nothing to write), so no page reads through a null
// record.
const ProductInfo &currentProduct();
