#include "download/RangeReply.h"

#include <QList>

namespace RangeReply {

QString validator(const QByteArray &etag, const QByteArray &lastModified)
{
    const QByteArray tag = etag.trimmed();
    if (tag.startsWith('"') && tag.endsWith('"') && tag.size() >= 2) {
        return QString::fromLatin1(tag);
    }
    return QString::fromLatin1(lastModified.trimmed());
}

bool acceptsRanges(const QByteArray &acceptRanges)
{
    const QList<QByteArray> units = acceptRanges.split(',');
    for (const QByteArray &unit : units) {
        if (unit.trimmed().compare("bytes", Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

Reading read(int status, const QByteArray &contentRange, qint64 contentLength, qint64 from)
{
    if (status == 416 && from > 0) {
        return {Use::Again, -1};
    }
    if (status < 200 || status >= 300) {
        return {Use::None, -1};
    }
    if (status != 206 || from == 0) {
        // A server that ignored the Range sends the whole file again.
        return {Use::Whole, contentLength};
    }
    // "bytes FIRST-LAST/TOTAL", TOTAL possibly "*".
    const QByteArray value = contentRange.trimmed();
    const qsizetype dash = value.indexOf('-');
    const qsizetype slash = value.indexOf('/');
    if (!value.startsWith("bytes ") || dash < 0 || slash < dash) {
        return {Use::Again, -1};
    }
    bool firstOk = false;
    const qint64 first = value.mid(6, dash - 6).trimmed().toLongLong(&firstOk);
    if (!firstOk || first != from) {
        return {Use::Again, -1};
    }
    bool totalOk = false;
    const qint64 total = value.mid(slash + 1).trimmed().toLongLong(&totalOk);
    if (totalOk) {
        return {Use::Append, total};
    }
    return {Use::Append, contentLength < 0 ? -1 : from + contentLength};
}

} // namespace RangeReply
