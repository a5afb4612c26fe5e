#pragma once

#include <QString>
#include <QUrl>

// One preprogrammed card of a card product: what to write on it and how to recognise it.
struct SdSubProduct
{
    QString name;
    QUrl map;
    QString md5;
    qint32 fid = 0;
};
