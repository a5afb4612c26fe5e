#pragma once

#include <QList>
#include <QStringList>

// Which map folders a computer map install touches, worked out from the family numbers alone
// before anything on disk is changed. make() is pure, so every rule can be tried on data; read()
// feeds it from a maps folder.
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
    // make() on the maps installed in `mapsFolder` and those unpacked in its download folder.
    static MapInstallPlan read(const QString &mapsFolder, const QList<qint32> &families,
                               const QList<qint32> &withdrawn, bool allDownloadedBelong);
};
