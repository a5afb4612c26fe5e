#pragma once

#include <QList>
#include <QString>
#include <QUrl>

// The computer map archive of a product and the family identifiers that tell which installed
// maps it brings (fids) and which installed maps it supersedes without replacing (removeFids).
struct PcSubProduct
{
    QUrl map;
    QString md5;
    QList<qint32> fids;
    QList<qint32> removeFids;
};
