#pragma once

// The product record the vendor service describes. Only the shell's ownership rules are here so
// far; its fields arrive with the service requests.
class ProductInfo
{
public:
    ProductInfo() = default;
    virtual ~ProductInfo() = default;
};
