#include "SampleMapFiles.h"

#include "maps/CardImage.h"

namespace SampleMapFiles {

QByteArray infoXml(int familyId, const QString &title, const QString &version)
{
    const QString subProduct = version.isEmpty() ? title : title + QLatin1Char(' ') + version;
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                          "<MapProduct>\n"
                          "  <Name>%1</Name>\n"
                          "  <ID>%2</ID>\n"
                          "  <SubProduct>\n"
                          "    <Name>%3</Name>\n"
                          "    <ID>%2</ID>\n"
                          "  </SubProduct>\n"
                          "</MapProduct>\n")
        .arg(title.toHtmlEscaped())
        .arg(familyId)
        .arg(subProduct.toHtmlEscaped())
        .toUtf8();
}

void putFamily(char *chunk, qint64 start, qint64 size, int familyId)
{
    // Four upper-case hexadecimal digits: family numbers stay below 0x10000.
    const QByteArray text =
        QByteArray::number(familyId & 0xFFFF, 16).toUpper().rightJustified(4, '0');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qint64 at = CardImage::familyOffset + i - start;
        if (at >= 0 && at < size) {
            chunk[at] = text.at(i);
        }
    }
}

QByteArray cardImage(int familyId, qint64 size, char fill)
{
    QByteArray image(size, fill);
    putFamily(image.data(), 0, size, familyId);
    return image;
}

} // namespace SampleMapFiles
