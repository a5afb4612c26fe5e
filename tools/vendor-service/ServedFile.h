#pragma once

#include <QString>

// How a served file misbehaves, to let the program's failure paths be tried. Offsets are bytes of
// the file, wherever an answer starts.
struct FileFault
{
    enum class Kind
    {
        None,
        StallAfter, // sends the file up to byte `value`, then nothing more, keeping the connection
        DropAfter,  // sends the file up to byte `value`, then resets the connection
        // The first GET of each address (its query included) is closed at byte `value`, short of
        // the length announced; later ones are served whole.
        DropOnce,
        GetStatus, // HEAD answers normally, GET answers with HTTP status `value`
        Silent,    // never answers, keeping the connection
        NoLength,  // announces no Content-Length; the body ends when the connection closes
    };
    Kind kind = Kind::None;
    qint64 value = 0;
    // At most this many bytes per second; 0: as fast as the line takes them.
    qint64 rate = 0;
    // False: announces no ranges and answers every GET with the whole file, Range or not.
    bool ranges = true;
    // Once an address has been fetched, the file there is another version: a new ETag.
    bool changesAfterFirstGet = false;
};

// A file the service offers under /files/<name>.
struct ServedFile
{
    QString name;
    QString path;
    qint64 size = 0;
    QString md5;
    FileFault fault;
    // Names this version of the file; the same for every name it is served under.
    QByteArray etag;
};
