#pragma once

#include <QString>

#include <optional>

class QIODevice;

// The map image on a preprogrammed card. Its family number (which product's map it is) sits at
// byte 4613 as four characters of hexadecimal text.
class CardImage
{
public:
    static constexpr qint64 familyOffset = 4613;

    // Where a card mounted at `cardRoot` keeps its map.
    static QString path(const QString &cardRoot);
    // Where a map is written beside it until it is complete and checked: not ending in ".img", so
    // a GPS that finds it never takes it for a map.
    static QString partialPath(const QString &cardRoot);
    // Puts the checked map at partialPath() in the place of the card's map, and has the card's
    // folder synced, so that it is on the card for good once this returns true.
    static bool putInPlace(const QString &cardRoot);
    // The family number read from `image`, an open device: 0 when the four characters are not a
    // hexadecimal number (or the image ends before them); nothing when it cannot be read there.
    static std::optional<int> familyId(QIODevice &image);
    // The same for the image file at `path`; nothing when it cannot be opened.
    static std::optional<int> familyIdOfFile(const QString &path);
};
