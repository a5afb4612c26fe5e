#pragma once

#include <QString>

// How a served file misbehaves, to let the program's failure paths be tried.
struct FileFault
{
    enum class Kind
    {
        None,
        StallAfter, // sends `value` bytes of the body, then nothing more, keeping the connection
        DropAfter,  // sends `value` bytes of the body, then resets the connection
        GetStatus,  // HEAD answers normally, GET answers with HTTP status `value`
        Throttle,   // sends at most `value` bytes per second
        Silent,     // never answers, keeping the connection
        NoLength,   // announces no Content-Length; the body ends when the connection closes
    };
    Kind kind = Kind::None;
    qint64 value = 0;
};

// A file the service offers under /files/<name>.
struct ServedFile
{
    QString name;
    QString path;
    qint64 size = 0;
    QString md5;
    FileFault fault;
};
