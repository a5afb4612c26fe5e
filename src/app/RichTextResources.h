#pragma once

#include <QString>

// Markup from the vendor's service (a product's notice) is shown as rich text, and Qt loads what
// such markup names while reading and laying it out: an <img>, a background or a style sheet given
// as a path is read from that file, so a FIFO freezes the window for good and a //host/share path
// reaches out to the network.
namespace RichTextResources {

// `html` as it is when it names no resource but the program's own (":/..." or "qrc:/..."). When it
// does, the same text and links, rebuilt without the other images, backgrounds and style sheets;
// nothing named by `html` is read meanwhile.
QString ownOnly(const QString &html);

} // namespace RichTextResources
