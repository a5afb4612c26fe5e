#pragma once

#include <QJsonObject>
#include <QString>

// One serial the stand-in service knows, and how it answers for it.
struct SampleProduct
{
    // The shape of the get_info answer.
    enum class Reply
    {
        Object,        // the product object
        ArrayOfObject, // [product object]
        EmptyArray,    // []
        ArrayOfNumber, // [5]
        ServiceError,  // "Error:" followed by errorText
        CorruptJson,   // a JSON text cut short
        HttpError,     // HTTP status 503
        Silent,        // the connection is taken, nothing is ever said
        StopsMidBody,  // the head and half the product object, then nothing
    };
    // How the three version reports are answered.
    enum class Reports
    {
        Accept, // 200 OK
        Fail,   // HTTP status 500, every time
        Hang,   // never answered
    };

    QString serial;
    QString meaning;
    Reply reply = Reply::Object;
    Reports reports = Reports::Accept;
    QString errorText;
    // Download addresses are written as "/files/<name>" and completed with the address the client
    // used when the answer is sent.
    QJsonObject json;
};
