#include "app/CurrentProduct.h"

#include "app/Core.h"
#include "service/ProductInfo.h"

const ProductInfo &currentProduct()
{
    static const ProductInfo none;
    const ProductInfo *info = Core::instance()->productInfo();
    return info ? *info : none;
}
