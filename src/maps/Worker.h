#pragma once

#include <QObject>
#include <QString>

// Removes vendor map folders from the Garmin maps folder. Meant to live on a thread of its own:
// each doWork() is answered with exactly one resultReady().
class Worker : public QObject
{
    Q_OBJECT

public:
    // `mapsFolder` is the Garmin maps folder; empty when it could not be determined, and then
    // nothing is ever deleted.
    explicit Worker(const QString &mapsFolder, QObject *parent = nullptr);

public Q_SLOTS:
    // Deletes the folder `mapName` directly inside the maps folder, with all it holds. A name that
    // is not a single folder name there is refused.
    void doWork(const QString &mapName);

Q_SIGNALS:
    // `result` is the map name when nothing of the folder is left (also when it was already gone),
    // empty when some of it remains or the name was refused.
    void resultReady(const QString &result);

private:
    QString m_mapsFolder;
};
