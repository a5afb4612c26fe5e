// The version resource reader on any bytes that claim to be an executable.

#include "platform/PeVersionReader.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto version = PeVersionReader::fromBytes(
        QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (version && version->segmentCount() != 3) {
        __builtin_trap();
    }
    return 0;
}
