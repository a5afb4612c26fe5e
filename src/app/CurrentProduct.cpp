#include "app/CurrentProduct.h"

#include "app/Core.h"
#include "service/ProductInfo.h"

const ProductInfo &currentProduct()
{
    static const ProductInfo none;
    const ProductInfo *info = Core::instance()->productInfo();
    return info ? *info : none;
}

const SdSubProduct &currentCard()
{
    static const SdSubProduct none;
    const QList<SdSubProduct> &cards = currentProduct().sdSubProducts;
    const int index = Core::instance()->cardIndex();
    return index >= 0 && index < cards.size() ? cards.at(index) : none;
}
