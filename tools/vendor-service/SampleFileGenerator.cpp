#include "SampleFileGenerator.h"

#include "HashingFileSink.h"
#include "PseudoRandomFiller.h"
#include "SampleMapFiles.h"
#include "ZipStreamWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstring>

namespace {
constexpr qint64 chunkSize = 1 << 20;
// Raised whenever the content of a recipe changes, so old files are made again.
constexpr int recipeFormat = 1;

bool writeFiller(HashingFileSink &sink, PseudoRandomFiller &filler, qint64 size)
{
    QByteArray buffer(int(qMin(size, chunkSize)), Qt::Uninitialized);
    for (qint64 written = 0; written < size;) {
        const qint64 count = qMin<qint64>(buffer.size(), size - written);
        filler.fill(buffer.data(), count);
        if (!sink.write(buffer.constData(), count)) {
            return false;
        }
        written += count;
    }
    return true;
}
} // namespace

SampleFileGenerator::SampleFileGenerator(const QString &dataDir)
    : m_dataDir(dataDir)
{
}

std::optional<GeneratedFile>
SampleFileGenerator::produce(const QString &name, const QString &recipe, const Writer &writer)
{
    const QString path = QDir(m_dataDir).filePath(name);
    const QString recipePath = path + QStringLiteral(".recipe");
    const QString fullRecipe = QStringLiteral("%1:%2").arg(recipeFormat).arg(recipe);

    QFile recipeFile(recipePath);
    if (recipeFile.open(QIODevice::ReadOnly)) {
        const QJsonObject known = QJsonDocument::fromJson(recipeFile.readAll()).object();
        const qint64 knownSize = qint64(known.value(QLatin1String("size")).toDouble(-1));
        if (known.value(QLatin1String("recipe")).toString() == fullRecipe &&
            QFileInfo(path).size() == knownSize && knownSize >= 0) {
            return GeneratedFile{path, knownSize, known.value(QLatin1String("md5")).toString()};
        }
        recipeFile.close();
    }

    QFile::remove(recipePath);
    const QString partPath = path + QStringLiteral(".part");
    HashingFileSink sink(partPath);
    if (!sink.open() || !writer(sink) || !sink.close()) {
        m_error = QStringLiteral("cannot write %1: %2").arg(partPath, sink.errorString());
        QFile::remove(partPath);
        return std::nullopt;
    }
    QFile::remove(path);
    if (!QFile::rename(partPath, path)) {
        m_error = QStringLiteral("cannot rename %1 to %2").arg(partPath, path);
        return std::nullopt;
    }
    const GeneratedFile file{path, sink.size(), sink.md5Hex()};
    if (recipeFile.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        const QJsonObject record{{QStringLiteral("recipe"), fullRecipe},
                                 {QStringLiteral("size"), double(file.size)},
                                 {QStringLiteral("md5"), file.md5}};
        recipeFile.write(QJsonDocument(record).toJson(QJsonDocument::Compact));
    }
    return file;
}

std::optional<GeneratedFile> SampleFileGenerator::mapArchive(const QString &name,
                                                             const QList<MapFolder> &folders,
                                                             const QString &version,
                                                             qint64 totalSize)
{
    QString recipe = QStringLiteral("map;%1;%2").arg(version).arg(totalSize);
    for (const MapFolder &folder : folders) {
        recipe +=
            QStringLiteral(";%1,%2,%3").arg(folder.folderName, folder.title).arg(folder.familyId);
    }
    return produce(name, recipe, [&](HashingFileSink &sink) {
        ZipStreamWriter zip(sink);
        if (!zip.open()) {
            return false;
        }
        const qint64 share = qMax<qint64>(1, totalSize / qMax<qsizetype>(1, folders.size()));
        for (const MapFolder &folder : folders) {
            PseudoRandomFiller filler(PseudoRandomFiller::seedFor(name + folder.folderName));
            const QString base = folder.folderName + QLatin1Char('/');
            if (!zip.addDirectory(base) ||
                !zip.addFile(base + QStringLiteral("Info.xml"),
                             SampleMapFiles::infoXml(folder.familyId, folder.title, version)) ||
                !zip.addDirectory(base + QStringLiteral("gmap")) ||
                !zip.addFile(
                    base + QStringLiteral("gmap/") + folder.folderName + QStringLiteral(".img"),
                    share, [&filler](char *buffer, qint64 size) { filler.fill(buffer, size); })) {
                return false;
            }
        }
        return zip.close();
    });
}

std::optional<GeneratedFile> SampleFileGenerator::cardImage(const QString &name, int familyId,
                                                            qint64 size)
{
    const qint64 imageSize = qMax<qint64>(size, 8192);
    const QString recipe = QStringLiteral("card;%1;%2").arg(familyId).arg(imageSize);
    return produce(name, recipe, [&](HashingFileSink &sink) {
        PseudoRandomFiller filler(PseudoRandomFiller::seedFor(name));
        QByteArray buffer(int(qMin(imageSize, chunkSize)), Qt::Uninitialized);
        for (qint64 written = 0; written < imageSize;) {
            const qint64 count = qMin<qint64>(buffer.size(), imageSize - written);
            filler.fill(buffer.data(), count);
            SampleMapFiles::putFamily(buffer.data(), written, count, familyId);
            if (!sink.write(buffer.constData(), count)) {
                return false;
            }
            written += count;
        }
        return true;
    });
}

std::optional<GeneratedFile> SampleFileGenerator::installer(const QString &name, qint64 size)
{
    const QString recipe = QStringLiteral("installer;%1").arg(size);
    return produce(name, recipe, [&](HashingFileSink &sink) {
        const QByteArray header("MZ");
        PseudoRandomFiller filler(PseudoRandomFiller::seedFor(name));
        return sink.write(header) &&
               writeFiller(sink, filler, qMax<qint64>(0, size - header.size()));
    });
}

std::optional<GeneratedFile> SampleFileGenerator::gpsDataArchive(const QString &name)
{
    const auto gpx = [](const QString &waypoint, double lat, double lon) {
        return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                              "<gpx version=\"1.1\" creator=\"Halvorn\">\n"
                              "  <wpt lat=\"%2\" lon=\"%3\"><name>%1</name></wpt>\n"
                              "</gpx>\n")
            .arg(waypoint)
            .arg(lat, 0, 'f', 5)
            .arg(lon, 0, 'f', 5)
            .toUtf8();
    };
    return produce(name, QStringLiteral("gps"), [&](HashingFileSink &sink) {
        ZipStreamWriter zip(sink);
        return zip.open() && zip.addDirectory(QStringLiteral("Halvorn GPS Data")) &&
               zip.addFile(QStringLiteral("Halvorn GPS Data/Mountain huts.gpx"),
                           gpx(QStringLiteral("Fannaråken hut"), 61.51623, 7.90512)) &&
               zip.addFile(QStringLiteral("Halvorn GPS Data/Viewpoints.gpx"),
                           gpx(QStringLiteral("Preikestolen"), 58.98640, 6.19036)) &&
               zip.close();
    });
}
