#include "maps/CardImage.h"

#include <QDir>
#include <QFile>

#include <cctype>

QString CardImage::path(const QString &cardRoot)
{
    return QDir(cardRoot).filePath(QStringLiteral("garmin/gmapsupp.img"));
}

std::optional<int> CardImage::familyId(QIODevice &image)
{
    if (!image.seek(familyOffset)) {
        return image.size() <= familyOffset ? std::optional<int>(0) : std::nullopt;
    }
    const QByteArray text = image.read(4);
    if (text.size() != 4) {
        return 0;
    }
    // Signs, blanks and a "0x" are not part of the four digits the card carries.
    for (const char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return 0;
        }
    }
    return int(text.toUInt(nullptr, 16));
}

std::optional<int> CardImage::familyIdOfFile(const QString &path)
{
    QFile image(path);
    if (!image.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return familyId(image);
}
