// The body of a product-information reply, exactly as the service may send it.

#include "service/ProductInfoReply.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const ProductInfoReply reply = ProductInfoReply::interpret(
        QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    // Whatever the body, the answer is one of the three kinds, with what that kind promises.
    if (reply.kind == ProductInfoReply::Kind::Product && !reply.product) {
        __builtin_trap();
    }
    if (reply.kind == ProductInfoReply::Kind::Corrupted && reply.message.isEmpty()) {
        __builtin_trap();
    }
    return 0;
}
