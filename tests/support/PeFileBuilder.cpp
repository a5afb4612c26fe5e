#include "PeFileBuilder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cstring>

namespace {

constexpr quint32 kHeadersSize = 0x400;
constexpr quint32 kFileAlignment = 0x200;
constexpr quint32 kSectionAlignment = 0x1000;
constexpr quint32 kTextRva = 0x1000;
constexpr quint32 kTextOffset = 0x400;
constexpr quint32 kResourceRva = 0x2000;
constexpr quint32 kResourceOffset = 0x600;
constexpr quint32 kPeHeader = 0x80;

// Offsets inside .rsrc.
constexpr quint32 kRoot = 0x000;
constexpr quint32 kIconTypes = 0x030;
constexpr quint32 kIconLanguages = 0x050;
constexpr quint32 kVersionNames = 0x070;
constexpr quint32 kVersionLanguages = 0x090;
constexpr quint32 kIconData = 0x0B0;
constexpr quint32 kVersionData = 0x0C0;
constexpr quint32 kTypeName = 0x0D0;
constexpr quint32 kIconBytes = 0x0E0;
constexpr quint32 kVersionInfo = 0x100;
constexpr quint32 kVersionInfoSize = 92; // header 6, key 32, padding 2, VS_FIXEDFILEINFO 52
constexpr quint32 kResourceUsed = kVersionInfo + kVersionInfoSize;
constexpr quint32 kResourceRawSize = 0x200;
constexpr quint32 kSubdirectory = 0x80000000u;

class Writer
{
public:
    explicit Writer(qsizetype size)
        : m_bytes(size, '\0')
    {
    }

    void u8(qsizetype offset, quint8 value) { m_bytes[offset] = char(value); }
    void u16(qsizetype offset, quint16 value) { qToLittleEndian(value, m_bytes.data() + offset); }
    void u32(qsizetype offset, quint32 value) { qToLittleEndian(value, m_bytes.data() + offset); }
    void u64(qsizetype offset, quint64 value) { qToLittleEndian(value, m_bytes.data() + offset); }
    void text(qsizetype offset, const char *text)
    {
        memcpy(m_bytes.data() + offset, text, strlen(text));
    }
    // UTF-16 text, after its length in characters for resource names (`counted`); the
    // terminating zero, where there is one, is already in the zeroed bytes.
    void utf16(qsizetype offset, const QString &text, bool counted)
    {
        if (counted) {
            u16(offset, quint16(text.size()));
            offset += 2;
        }
        for (qsizetype i = 0; i < text.size(); ++i) {
            u16(offset + 2 * i, text.at(i).unicode());
        }
    }

    // A resource directory with `named` named entries followed by the id entries.
    void directory(qsizetype offset, quint16 named, quint16 ids)
    {
        u16(offset + 12, named);
        u16(offset + 14, ids);
    }
    void entry(qsizetype directory, int index, quint32 name, quint32 data)
    {
        u32(directory + 16 + index * 8, name);
        u32(directory + 16 + index * 8 + 4, data);
    }

    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

quint32 high(const QVersionNumber &version)
{
    return quint32(version.segmentAt(0)) << 16 | quint32(version.segmentAt(1) & 0xFFFF);
}

quint32 low(const QVersionNumber &version)
{
    return quint32(version.segmentAt(2)) << 16 | quint32(version.segmentAt(3) & 0xFFFF);
}

} // namespace

PeFileBuilder &PeFileBuilder::setFileVersion(const QVersionNumber &version)
{
    m_fileVersion = version;
    return *this;
}

PeFileBuilder &PeFileBuilder::setFormat(Format format)
{
    m_format = format;
    return *this;
}

PeFileBuilder &PeFileBuilder::setVersionResource(bool present)
{
    m_versionResource = present;
    return *this;
}

QByteArray PeFileBuilder::build(Layout *layout) const
{
    const bool plus = m_format == Format::Pe32Plus;
    const quint16 optionalSize = plus ? 240 : 224;
    const quint32 optional = kPeHeader + 4 + 20;
    const quint32 sectionTable = optional + optionalSize;
    const quint32 directories = optional + (plus ? 112 : 96);
    Writer w(kResourceOffset + kResourceRawSize);

    // DOS header: only the signature and the offset of the PE header matter.
    w.text(0, "MZ");
    w.u32(0x3C, kPeHeader);

    w.text(kPeHeader, "PE");
    const quint32 coff = kPeHeader + 4;
    w.u16(coff, plus ? 0x8664 : 0x014C);
    w.u16(coff + 2, 2);
    w.u16(coff + 16, optionalSize);
    w.u16(coff + 18, plus ? 0x0022 : 0x0102);

    w.u16(optional, plus ? 0x20B : 0x10B);
    w.u32(optional + 4, kFileAlignment);   // SizeOfCode
    w.u32(optional + 8, kResourceRawSize); // SizeOfInitializedData
    w.u32(optional + 16, kTextRva);        // AddressOfEntryPoint
    w.u32(optional + 20, kTextRva);        // BaseOfCode
    if (plus) {
        w.u64(optional + 24, 0x140000000ull);
    } else {
        w.u32(optional + 24, kResourceRva); // BaseOfData
        w.u32(optional + 28, 0x400000);
    }
    w.u32(optional + 32, kSectionAlignment);
    w.u32(optional + 36, kFileAlignment);
    w.u16(optional + 40, 6);                                // operating system 6.0
    w.u16(optional + 48, 6);                                // subsystem 6.0
    w.u32(optional + 56, kResourceRva + kSectionAlignment); // SizeOfImage
    w.u32(optional + 60, kHeadersSize);
    w.u16(optional + 68, 2);                 // Windows GUI
    w.u32(optional + (plus ? 108 : 92), 16); // NumberOfRvaAndSizes
    w.u32(directories + 2 * 8, kResourceRva);
    w.u32(directories + 2 * 8 + 4, kResourceUsed);

    w.text(sectionTable, ".text");
    w.u32(sectionTable + 8, 1);
    w.u32(sectionTable + 12, kTextRva);
    w.u32(sectionTable + 16, kFileAlignment);
    w.u32(sectionTable + 20, kTextOffset);
    w.u32(sectionTable + 36, 0x60000020);
    w.u8(kTextOffset, 0xC3); // ret

    const quint32 rsrcHeader = sectionTable + 40;
    w.text(rsrcHeader, ".rsrc");
    w.u32(rsrcHeader + 8, kResourceUsed);
    w.u32(rsrcHeader + 12, kResourceRva);
    w.u32(rsrcHeader + 16, kResourceRawSize);
    w.u32(rsrcHeader + 20, kResourceOffset);
    w.u32(rsrcHeader + 36, 0x40000040);

    const qsizetype r = kResourceOffset;
    // Root: a named type first, then RT_ICON (3), then RT_VERSION (16), ids in rising order.
    w.directory(r + kRoot, 1, m_versionResource ? 2 : 1);
    w.entry(r + kRoot, 0, kSubdirectory | kTypeName, kSubdirectory | kIconTypes);
    w.entry(r + kRoot, 1, 3, kSubdirectory | kIconTypes);
    w.utf16(r + kTypeName, QStringLiteral("BIN"), true);
    w.directory(r + kIconTypes, 0, 1);
    w.entry(r + kIconTypes, 0, 1, kSubdirectory | kIconLanguages);
    w.directory(r + kIconLanguages, 0, 1);
    w.entry(r + kIconLanguages, 0, 0x409, kIconData);
    w.u32(r + kIconData, kResourceRva + kIconBytes);
    w.u32(r + kIconData + 4, 16);
    w.text(r + kIconBytes, "not an icon");

    if (m_versionResource) {
        w.entry(r + kRoot, 2, 16, kSubdirectory | kVersionNames);
        w.directory(r + kVersionNames, 0, 1);
        w.entry(r + kVersionNames, 0, 1, kSubdirectory | kVersionLanguages);
        w.directory(r + kVersionLanguages, 0, 1);
        w.entry(r + kVersionLanguages, 0, 0x409, kVersionData);
        w.u32(r + kVersionData, kResourceRva + kVersionInfo);
        w.u32(r + kVersionData + 4, kVersionInfoSize);

        const qsizetype info = r + kVersionInfo;
        w.u16(info, kVersionInfoSize);
        w.u16(info + 2, 52);
        w.u16(info + 4, 0);
        w.utf16(info + 6, QStringLiteral("VS_VERSION_INFO"), false);
        const qsizetype fixed = info + 40;
        w.u32(fixed, 0xFEEF04BD);
        w.u32(fixed + 4, 0x00010000);
        w.u32(fixed + 8, high(m_fileVersion));
        w.u32(fixed + 12, low(m_fileVersion));
        // A product version unlike any file version, so a reader that takes the wrong one fails.
        const QVersionNumber productVersion{9, 8, 7, 6};
        w.u32(fixed + 16, high(productVersion));
        w.u32(fixed + 20, low(productVersion));
        w.u32(fixed + 24, 0x3F);
        w.u32(fixed + 32, 0x00040004); // VOS_NT_WINDOWS32
        w.u32(fixed + 36, 1);          // VFT_APP
    }

    if (layout) {
        layout->peHeader = kPeHeader;
        layout->optionalHeader = optional;
        layout->resourceDirectoryEntry = directories + 2 * 8;
        layout->sectionTable = sectionTable;
        layout->resourceSection = r;
        layout->versionTypeEntry = r + kRoot + 16 + 2 * 8;
        layout->versionNameDirectory = r + kVersionNames;
        layout->versionLanguageDirectory = r + kVersionLanguages;
        layout->versionDataEntry = r + kVersionData;
        layout->versionInfo = r + kVersionInfo;
        layout->fixedFileInfo = r + kVersionInfo + 40;
    }
    return w.bytes();
}

bool PeFileBuilder::write(const QString &path) const
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray bytes = build();
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

bool PeFileBuilder::writeExecutable(const QString &path, const QVersionNumber &fileVersion)
{
    return PeFileBuilder().setFileVersion(fileVersion).write(path);
}
