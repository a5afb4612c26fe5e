// The start of a map image on a card, which may hold anything.

#include "maps/CardImage.h"

#include <QBuffer>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A short input is placed just before where the family number sits.
    QByteArray image(qsizetype(CardImage::familyOffset) - 2, '\0');
    image.append(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer(&image);
    buffer.open(QIODevice::ReadOnly);
    const std::optional<int> family = CardImage::familyId(buffer);
    // Four hexadecimal digits hold no more than 0xffff.
    if (!family || *family < 0 || *family > 0xffff) {
        __builtin_trap();
    }
    return 0;
}
