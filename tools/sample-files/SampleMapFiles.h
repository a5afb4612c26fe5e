#pragma once

#include <QByteArray>
#include <QString>

// The files of a map as Garmin's programs leave them, written the same way by the stand-in
// vendor service, the page tour and the tests.
namespace SampleMapFiles {

// A map folder's Info.xml: the map's family and `title`; its sub-product is named `title`
// followed by `version`, which is where the version is read from.
QByteArray infoXml(int familyId, const QString &title = {}, const QString &version = {});

// Writes the family number, as the card's map image carries it, into `chunk`: the `size` bytes
// of the image that start at `start`, whichever of its four characters fall there.
void putFamily(char *chunk, qint64 start, qint64 size, int familyId);
// A whole card map image of `size` bytes of `fill`, with the family number in its place.
QByteArray cardImage(int familyId, qint64 size = 8192, char fill = '\0');

} // namespace SampleMapFiles
