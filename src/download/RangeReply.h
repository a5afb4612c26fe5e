#pragma once

#include <QByteArray>
#include <QString>

// Reads what a server says about continuing a download: the validator that names the version of
// the file it serves, and what its answer to a GET carries when the GET asked for the file from
// byte `from` on (a Range request). Pure, so every answer can be tried on data.
namespace RangeReply {

// The validator to send back in If-Range: a strong ETag, else Last-Modified; empty when the
// server gives neither (a weak ETag cannot vouch for single bytes).
QString validator(const QByteArray &etag, const QByteArray &lastModified);

// Whether an Accept-Ranges header promises byte ranges.
bool acceptsRanges(const QByteArray &acceptRanges);

enum class Use
{
    Append, // the rest of the file, from byte `from` on: it goes after the bytes kept
    Whole,  // the whole file from byte 0: what was kept is thrown away
    Again,  // nothing to use (416, or another part of the file): ask again from byte 0
    None,   // an error answer: the bytes kept stay as they are, the failure follows
};

struct Reading
{
    Use use = Use::Whole;
    // The whole file's size, when the answer tells it; -1 otherwise.
    qint64 total = -1;
};

// `contentLength` is -1 when the answer announces none.
Reading read(int status, const QByteArray &contentRange, qint64 contentLength, qint64 from);

} // namespace RangeReply
