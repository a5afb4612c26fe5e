#include "PeFileBuilder.h"

#include "TestFiles.h"

#include <QtEndian>

namespace {

constexpr quint32 kPeHeader = 0x80;
constexpr quint32 kHeadersSize = 0x400;
constexpr quint32 kFileAlignment = 0x200;
constexpr quint32 kSectionAlignment = 0x1000;
constexpr quint32 kTextRva = 0x1000;
constexpr quint32 kTextOffset = 0x400;
constexpr quint32 kResourceRva = 0x2000;
constexpr quint32 kResourceOffset = 0x600;
constexpr quint32 kResourceRawSize = 0x200;

// Offsets inside .rsrc.
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
constexpr quint32 kSubdirectory = 0x80000000u;

// Little-endian fields into a zeroed file.
struct Writer
{
    QByteArray b;

    void u16(qsizetype at, quint16 value) { qToLittleEndian(value, b.data() + at); }
    void u32(qsizetype at, quint32 value) { qToLittleEndian(value, b.data() + at); }
    void u64(qsizetype at, quint64 value) { qToLittleEndian(value, b.data() + at); }
    void text(qsizetype at, const QByteArray &text) { b.replace(at, text.size(), text); }
    // UTF-16 text; resource names (`counted`) start with their length in characters.
    void utf16(qsizetype at, const QString &text, bool counted)
    {
        if (counted) {
            u16(at, quint16(text.size()));
            at += 2;
        }
        for (qsizetype i = 0; i < text.size(); ++i) {
            u16(at + 2 * i, text.at(i).unicode());
        }
    }
    // A resource directory's counts: its named entries are listed before its id entries.
    void directory(qsizetype at, quint16 named, quint16 ids) { u32(at + 12, ids << 16 | named); }
    // As two words: major and minor, then patch and build.
    void version(qsizetype at, const QVersionNumber &v)
    {
        u32(at, quint32(v.segmentAt(0)) << 16 | quint32(v.segmentAt(1) & 0xFFFF));
        u32(at + 4, quint32(v.segmentAt(2)) << 16 | quint32(v.segmentAt(3) & 0xFFFF));
    }
    void entry(qsizetype directory, int index, quint32 name, quint32 data)
    {
        u32(directory + 16 + index * 8, name);
        u32(directory + 16 + index * 8 + 4, data);
    }
};

} // namespace

QByteArray PeFileBuilder::build(Layout *layout) const
{
    const bool plus = format == Format::Pe32Plus;
    const quint16 optionalSize = plus ? 240 : 224;
    const quint32 coff = kPeHeader + 4;
    const quint32 optional = coff + 20;
    const quint32 sectionTable = optional + optionalSize;
    const quint32 directories = optional + (plus ? 112 : 96);
    Writer w{QByteArray(kResourceOffset + kResourceRawSize, '\0')};

    // DOS header: only the signature and the offset of the PE header matter.
    w.text(0, "MZ");
    w.u32(0x3C, kPeHeader);

    w.text(kPeHeader, "PE");
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
    w.b[kTextOffset] = char(0xC3); // ret

    const quint32 rsrcHeader = sectionTable + 40;
    w.text(rsrcHeader, ".rsrc");
    w.u32(rsrcHeader + 8, kResourceUsed);
    w.u32(rsrcHeader + 12, kResourceRva);
    w.u32(rsrcHeader + 16, kResourceRawSize);
    w.u32(rsrcHeader + 20, kResourceOffset);
    w.u32(rsrcHeader + 36, 0x40000040);

    const qsizetype r = kResourceOffset;
    // Root: a named type first, then RT_ICON (3), then RT_VERSION (16), ids in rising order.
    w.directory(r, 1, versionResource ? 2 : 1);
    w.entry(r, 0, kSubdirectory | kTypeName, kSubdirectory | kIconTypes);
    w.entry(r, 1, 3, kSubdirectory | kIconTypes);
    w.utf16(r + kTypeName, QStringLiteral("BIN"), true);
    w.directory(r + kIconTypes, 0, 1);
    w.entry(r + kIconTypes, 0, 1, kSubdirectory | kIconLanguages);
    w.directory(r + kIconLanguages, 0, 1);
    w.entry(r + kIconLanguages, 0, 0x409, kIconData);
    w.u32(r + kIconData, kResourceRva + kIconBytes);
    w.u32(r + kIconData + 4, 16);
    w.text(r + kIconBytes, "not an icon");

    const qsizetype fixed = r + kVersionInfo + 40;
    if (versionResource) {
        w.entry(r, 2, 16, kSubdirectory | kVersionNames);
        w.directory(r + kVersionNames, 0, 1);
        w.entry(r + kVersionNames, 0, 1, kSubdirectory | kVersionLanguages);
        w.directory(r + kVersionLanguages, 0, 1);
        w.entry(r + kVersionLanguages, 0, 0x409, kVersionData);
        w.u32(r + kVersionData, kResourceRva + kVersionInfo);
        w.u32(r + kVersionData + 4, kVersionInfoSize);

        w.u16(r + kVersionInfo, kVersionInfoSize);
        w.u16(r + kVersionInfo + 2, 52); // the value's length; the type, 0, is binary
        w.utf16(r + kVersionInfo + 6, QStringLiteral("VS_VERSION_INFO"), false);
        w.u32(fixed, 0xFEEF04BD);
        w.u32(fixed + 4, 0x00010000);
        w.version(fixed + 8, fileVersion);
        // A product version unlike any file version, so a reader that takes the wrong one fails.
        w.version(fixed + 16, {9, 8, 7, 6});
        w.u32(fixed + 24, 0x3F);
        w.u32(fixed + 32, 0x00040004); // VOS_NT_WINDOWS32
        w.u32(fixed + 36, 1);          // VFT_APP
    }

    if (layout) {
        *layout = {.peHeader = kPeHeader,
                   .optionalHeader = optional,
                   .sectionTable = sectionTable,
                   .resourceSection = r,
                   .versionTypeEntry = r + 16 + 2 * 8,
                   .versionNameDirectory = r + kVersionNames,
                   .versionDataEntry = r + kVersionData,
                   .versionInfo = r + kVersionInfo,
                   .fixedFileInfo = fixed};
    }
    return w.b;
}

bool PeFileBuilder::writeExecutable(const QString &path, const QVersionNumber &version)
{
    return TestFiles::write(path, PeFileBuilder{.fileVersion = version}.build());
}
