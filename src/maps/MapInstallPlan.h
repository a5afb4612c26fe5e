#pragma once

#include <QList>
#include <QStringList>

// Which map folders a computer map install touches, worked out from the family numbers alone
// before anything on disk is changed. Pure, so every rule can be tried on data.
struct MapInstallPlan
{
    // A map folder (the folder that holds its Info.xml) and its family number, -1 when unreadable.
    struct Map
    {
        QString folder;
        qint32 id = -1;
    };

    // Downloaded folders the product does not own: left behind.
    QStringList dropped;
    // Installed folders the product replaces or withdraws.
    QStringList superseded;
    // Downloaded folders that go into the maps folder.
    QStringList incoming;

    // With `allDownloadedBelong` (a computer-format product) every downloaded map is installed;
    // otherwise only those whose family is in `families`. An installed map goes when its family
    // is in `families` or in `withdrawn`.
    static MapInstallPlan make(const QList<Map> &installed, const QList<Map> &downloaded,
                               const QList<qint32> &families, const QList<qint32> &withdrawn,
                               bool allDownloadedBelong);
};
