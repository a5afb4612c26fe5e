#include "platform/WineRegistryFile.h"

#include <QFile>

namespace {

// The value of a hexadecimal digit, -1 for any other character.
int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') {
        return u - u'0';
    }
    if ((u | 0x20) >= u'a' && (u | 0x20) <= u'f') {
        return (u | 0x20) - u'a' + 10;
    }
    return -1;
}

// Undoes Wine's escapes from `text[position]` up to the first unescaped `end`, leaving
// `position` just after it. Nothing when `end` never comes.
std::optional<QString> unescapeUntil(QStringView text, qsizetype &position, QChar end)
{
    // \a, \b, \t and so on: the letter's place in `letters` gives the control character.
    static constexpr QStringView letters = u"abtnvfre";
    static constexpr char16_t controls[] = u"\a\b\t\n\v\f\r\x1b";
    QString result;
    while (position < text.size()) {
        const QChar c = text[position++];
        if (c == end) {
            return result;
        }
        if (c != u'\\' || position == text.size()) {
            result += c;
            continue;
        }
        const QChar escaped = text[position++];
        if (escaped == u'x') {
            char16_t code = 0;
            for (int digits = 0;
                 digits < 4 && position < text.size() && hexValue(text[position]) >= 0; ++digits) {
                code = char16_t(code * 16 + hexValue(text[position++]));
            }
            result += QChar(code);
        } else if (escaped >= u'0' && escaped <= u'7') {
            char16_t code = escaped.unicode() - u'0';
            for (int digits = 1; digits < 3 && position < text.size() && text[position] >= u'0' &&
                                 text[position] <= u'7';
                 ++digits) {
                code = char16_t(code * 8 + (text[position++].unicode() - u'0'));
            }
            result += QChar(code);
        } else {
            const qsizetype control = letters.indexOf(escaped);
            result += control >= 0 ? QChar(controls[control]) : escaped;
        }
    }
    return std::nullopt;
}

} // namespace

WineRegistryFile::WineRegistryFile(QString path)
    : m_path(std::move(path))
{
}

std::optional<QString> WineRegistryFile::stringValue(QStringView key, QStringView name) const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    // Wine writes ASCII only; UTF-8 reads that and anything a person may have typed in.
    const QString text = QString::fromUtf8(file.readAll());
    bool inKey = false;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        qsizetype position = 1;
        if (line.startsWith(u'[')) {
            const std::optional<QString> keyName = unescapeUntil(line, position, u']');
            inKey = keyName && keyName->compare(key, Qt::CaseInsensitive) == 0;
        } else if (inKey && line.startsWith(u'"')) {
            const std::optional<QString> valueName = unescapeUntil(line, position, u'"');
            if (!valueName || valueName->compare(name, Qt::CaseInsensitive) != 0 ||
                !line.sliced(position).startsWith(u"=\"")) {
                continue;
            }
            position += 2;
            return unescapeUntil(line, position, u'"');
        }
    }
    return std::nullopt;
}
