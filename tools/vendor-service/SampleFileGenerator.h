#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

class HashingFileSink;

// A file in the data folder with what the catalogue announces about it.
struct GeneratedFile
{
    QString path;
    qint64 size = 0;
    QString md5;
};

// One "Halvorn..." map folder inside a computer map archive.
struct MapFolder
{
    QString folderName; // must start with "Halvorn" to be found once installed
    QString title;      // the map's name; Info.xml's SubProduct/Name is the title and the version
    int familyId = 0;
};

// Makes the sample files in the data folder, each written once and streamed (a multi-gigabyte map
// never sits in memory). Beside each file a small ".recipe" record keeps how it was made, its size
// and its MD5: a later start that asks for the same recipe reuses the file as it is, as long as it
// still has the recorded size.
class SampleFileGenerator
{
public:
    explicit SampleFileGenerator(const QString &dataDir);

    // A zip with, per folder, "<folder>/Info.xml" and a map image filling its share of totalSize.
    std::optional<GeneratedFile> mapArchive(const QString &name, const QList<MapFolder> &folders,
                                            const QString &version, qint64 totalSize);
    // A card image of the given size: filler, with the family number where the program reads it.
    std::optional<GeneratedFile> cardImage(const QString &name, int familyId, qint64 size);
    // Stands in for the BaseCamp installer: a Windows executable header followed by filler.
    std::optional<GeneratedFile> installer(const QString &name, qint64 size);
    // A small zip of GPX files, the product's additional GPS data.
    std::optional<GeneratedFile> gpsDataArchive(const QString &name);

    QString errorString() const { return m_error; }

private:
    using Writer = std::function<bool(HashingFileSink &sink)>;
    std::optional<GeneratedFile> produce(const QString &name, const QString &recipe,
                                         const Writer &writer);

    QString m_dataDir;
    QString m_error;
};
