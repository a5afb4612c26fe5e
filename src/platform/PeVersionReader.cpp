#include "platform/PeVersionReader.h"

#include <QFile>
#include <QtEndian>

namespace {

constexpr quint32 kResourceTypeVersion = 16; // RT_VERSION
constexpr quint32 kVersionInfoId = 1;        // VS_VERSION_INFO
constexpr quint32 kFixedFileInfoSignature = 0xFEEF04BD;
constexpr qint64 kFixedFileInfoSize = 52;
constexpr quint32 kSubdirectoryFlag = 0x80000000u;
// Files larger than this are not read whole when they cannot be mapped.
constexpr qint64 kMaxUnmappedRead = 512ll * 1024 * 1024;

// Little-endian reads that fail instead of reading outside the bytes.
class Bytes
{
public:
    explicit Bytes(QByteArrayView data)
        : m_data(data)
    {
    }

    qint64 size() const { return m_data.size(); }

    bool contains(qint64 offset, qint64 length) const
    {
        return offset >= 0 && length >= 0 && offset <= size() && length <= size() - offset;
    }

    std::optional<quint16> u16(qint64 offset) const
    {
        if (!contains(offset, 2)) {
            return std::nullopt;
        }
        return qFromLittleEndian<quint16>(m_data.data() + offset);
    }

    std::optional<quint32> u32(qint64 offset) const
    {
        if (!contains(offset, 4)) {
            return std::nullopt;
        }
        return qFromLittleEndian<quint32>(m_data.data() + offset);
    }

private:
    QByteArrayView m_data;
};

struct Section
{
    quint32 virtualAddress = 0;
    quint32 virtualSize = 0;
    quint32 rawSize = 0;
    quint32 rawOffset = 0;
};

class PeImage
{
public:
    explicit PeImage(QByteArrayView data)
        : m_bytes(data)
    {
    }

    std::optional<QVersionNumber> fileVersion();

private:
    bool readHeaders();
    std::optional<qint64> fileOffset(quint32 rva) const;
    std::optional<quint32> findEntry(qint64 directory, std::optional<quint32> id) const;
    std::optional<QVersionNumber> readVersionInfo(qint64 offset, qint64 length) const;

    Bytes m_bytes;
    QList<Section> m_sections;
    quint32 m_resourceRva = 0;
    qint64 m_resourceOffset = 0;
};

bool PeImage::readHeaders()
{
    if (m_bytes.u16(0) != quint16(0x5A4D)) { // "MZ"
        return false;
    }
    const auto peOffset = m_bytes.u32(0x3C);
    if (!peOffset || m_bytes.u32(*peOffset) != quint32(0x00004550)) { // "PE\0\0"
        return false;
    }
    const qint64 coff = qint64(*peOffset) + 4;
    const auto sectionCount = m_bytes.u16(coff + 2);
    const auto optionalSize = m_bytes.u16(coff + 16);
    if (!sectionCount || !optionalSize) {
        return false;
    }
    const qint64 optional = coff + 20;
    const auto magic = m_bytes.u16(optional);
    qint64 directoryCountOffset = 0;
    if (magic == quint16(0x10B)) { // PE32
        directoryCountOffset = 92;
    } else if (magic == quint16(0x20B)) { // PE32+
        directoryCountOffset = 108;
    } else {
        return false;
    }
    const auto directoryCount = m_bytes.u32(optional + directoryCountOffset);
    constexpr quint32 resourceIndex = 2;
    const qint64 resourceEntry = optional + directoryCountOffset + 4 + resourceIndex * 8;
    // The resource directory entry must lie inside the optional header the file declares.
    if (!directoryCount || *directoryCount <= resourceIndex ||
        resourceEntry + 8 > optional + *optionalSize) {
        return false;
    }
    const auto resourceRva = m_bytes.u32(resourceEntry);
    if (!resourceRva || *resourceRva == 0) {
        return false;
    }
    m_resourceRva = *resourceRva;

    const qint64 table = optional + *optionalSize;
    for (qint64 i = 0; i < *sectionCount; ++i) {
        const qint64 header = table + i * 40;
        const auto virtualSize = m_bytes.u32(header + 8);
        const auto virtualAddress = m_bytes.u32(header + 12);
        const auto rawSize = m_bytes.u32(header + 16);
        const auto rawOffset = m_bytes.u32(header + 20);
        if (!virtualSize || !virtualAddress || !rawSize || !rawOffset) {
            return false;
        }
        m_sections.append({*virtualAddress, *virtualSize, *rawSize, *rawOffset});
    }
    const auto resourceOffset = fileOffset(m_resourceRva);
    if (!resourceOffset) {
        return false;
    }
    m_resourceOffset = *resourceOffset;
    return true;
}

std::optional<qint64> PeImage::fileOffset(quint32 rva) const
{
    for (const Section &section : m_sections) {
        // Only the part of a section that is stored in the file can be read from it.
        const qint64 delta = qint64(rva) - qint64(section.virtualAddress);
        const qint64 stored =
            qMin(qint64(section.rawSize),
                 section.virtualSize ? qint64(section.virtualSize) : qint64(section.rawSize));
        if (delta >= 0 && delta < stored) {
            const qint64 offset = qint64(section.rawOffset) + delta;
            if (m_bytes.contains(offset, 1)) {
                return offset;
            }
        }
    }
    return std::nullopt;
}

// The OffsetToData field of the entry of the resource directory at `directory` whose numeric id
// is `id`; with no id, of its first entry.
std::optional<quint32> PeImage::findEntry(qint64 directory, std::optional<quint32> id) const
{
    const auto namedCount = m_bytes.u16(directory + 12);
    const auto idCount = m_bytes.u16(directory + 14);
    if (!namedCount || !idCount) {
        return std::nullopt;
    }
    const qint64 count = qint64(*namedCount) + qint64(*idCount);
    for (qint64 i = 0; i < count; ++i) {
        const qint64 entry = directory + 16 + i * 8;
        const auto name = m_bytes.u32(entry);
        const auto data = m_bytes.u32(entry + 4);
        if (!name || !data) {
            return std::nullopt;
        }
        if (!id || *name == *id) {
            return data;
        }
    }
    return std::nullopt;
}

std::optional<QVersionNumber> PeImage::fileVersion()
{
    if (!readHeaders()) {
        return std::nullopt;
    }
    // Three fixed levels, type → name → language; each is looked up once, so a directory that
    // points back at itself cannot make the walk go round.
    const auto typeEntry = findEntry(m_resourceOffset, kResourceTypeVersion);
    if (!typeEntry || !(*typeEntry & kSubdirectoryFlag)) {
        return std::nullopt;
    }
    const qint64 names = m_resourceOffset + (*typeEntry & ~kSubdirectoryFlag);
    auto nameEntry = findEntry(names, kVersionInfoId);
    if (!nameEntry) {
        nameEntry = findEntry(names, std::nullopt);
    }
    if (!nameEntry || !(*nameEntry & kSubdirectoryFlag)) {
        return std::nullopt;
    }
    const qint64 languages = m_resourceOffset + (*nameEntry & ~kSubdirectoryFlag);
    const auto languageEntry = findEntry(languages, std::nullopt);
    if (!languageEntry || (*languageEntry & kSubdirectoryFlag)) {
        return std::nullopt;
    }
    const qint64 dataEntry = m_resourceOffset + *languageEntry;
    const auto dataRva = m_bytes.u32(dataEntry);
    const auto dataSize = m_bytes.u32(dataEntry + 4);
    if (!dataRva || !dataSize) {
        return std::nullopt;
    }
    const auto dataOffset = fileOffset(*dataRva);
    if (!dataOffset || !m_bytes.contains(*dataOffset, *dataSize)) {
        return std::nullopt;
    }
    return readVersionInfo(*dataOffset, *dataSize);
}

// The VS_VERSIONINFO block: its header, the key "VS_VERSION_INFO" in UTF-16, padding to a
// 32-bit boundary, and the VS_FIXEDFILEINFO that Windows hands out for the root block "\".
std::optional<QVersionNumber> PeImage::readVersionInfo(qint64 offset, qint64 length) const
{
    const auto blockLength = m_bytes.u16(offset);
    const auto valueLength = m_bytes.u16(offset + 2);
    if (!blockLength || !valueLength || *blockLength > length ||
        *valueLength < kFixedFileInfoSize) {
        return std::nullopt;
    }
    const qint64 end = offset + *blockLength;
    qint64 key = offset + 6;
    while (true) {
        if (key + 2 > end) {
            return std::nullopt;
        }
        const auto character = m_bytes.u16(key);
        if (!character) {
            return std::nullopt;
        }
        key += 2;
        if (*character == 0) {
            break;
        }
    }
    const qint64 value = offset + ((key - offset + 3) & ~qint64(3));
    if (value + kFixedFileInfoSize > end) {
        return std::nullopt;
    }
    const auto signature = m_bytes.u32(value);
    const auto versionMs = m_bytes.u32(value + 8);
    const auto versionLs = m_bytes.u32(value + 12);
    if (signature != kFixedFileInfoSignature || !versionMs || !versionLs) {
        return std::nullopt;
    }
    return PeVersionReader::fromFixedFileVersion(*versionMs, *versionLs);
}

} // namespace

namespace PeVersionReader {

std::optional<QVersionNumber> fromBytes(QByteArrayView bytes)
{
    return PeImage(bytes).fileVersion();
}

std::optional<QVersionNumber> fromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const qint64 size = file.size();
    if (size <= 0) {
        return std::nullopt;
    }
    if (const uchar *mapped = file.map(0, size)) {
        return fromBytes(QByteArrayView(mapped, size));
    }
    if (size > kMaxUnmappedRead) {
        return std::nullopt;
    }
    return fromBytes(file.readAll());
}

QVersionNumber fromFixedFileVersion(quint32 mostSignificant, quint32 leastSignificant)
{
    return QVersionNumber(int(mostSignificant >> 16), int(mostSignificant & 0xFFFF),
                          int(leastSignificant >> 16));
}

} // namespace PeVersionReader
