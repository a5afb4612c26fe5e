#include "maps/CardImage.h"

#include "platform/platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cctype>
#include <filesystem>
#include <system_error>

QString CardImage::path(const QString &cardRoot)
{
    return QDir(cardRoot).filePath(QStringLiteral("garmin/gmapsupp.img"));
}

QString CardImage::partialPath(const QString &cardRoot)
{
    return path(cardRoot) + QStringLiteral(".halvornsync-part");
}

bool CardImage::putInPlace(const QString &cardRoot)
{
    const QString image = path(cardRoot);
    const QString partial = partialPath(cardRoot);
    std::error_code error;
    std::filesystem::rename(QFileInfo(partial).filesystemFilePath(),
                            QFileInfo(image).filesystemFilePath(), error);
    // Where a file cannot be renamed over another, the old one goes first: the new one is
    // complete and checked by now.
    const bool renamed = !error || ((!QFileInfo::exists(image) || QFile::remove(image)) &&
                                    QFile::rename(partial, image));
    // The new name is only in the folder's entries until they are written out.
    return renamed && Platform::instance()->syncFolder(QFileInfo(image).path());
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
