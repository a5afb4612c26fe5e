#include "PeFileBuilder.h"
#include "TestMain.h"
#include "platform/PeVersionReader.h"

#include <QTemporaryDir>
#include <QtEndian>

#include <functional>

namespace {
using Damage = std::function<void(QByteArray &, const PeFileBuilder::Layout &)>;

void put32(QByteArray &bytes, qsizetype offset, quint32 value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

void put16(QByteArray &bytes, qsizetype offset, quint16 value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

// Readable in failure messages: the version, or "none".
QString text(const std::optional<QVersionNumber> &version)
{
    return version ? version->toString() : QStringLiteral("none");
}
} // namespace

Q_DECLARE_METATYPE(Damage)
Q_DECLARE_METATYPE(PeFileBuilder::Format)

class TestPeVersionReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsTheFileVersion_data();
    void readsTheFileVersion();
    void fileWithoutVersionResourceHasNoVersion();
    void damagedFileHasNoVersion_data();
    void damagedFileHasNoVersion();
    void everyTruncationHasNoVersion_data();
    void everyTruncationHasNoVersion();
    void everyDamagedByteIsSurvived();
    void readsFromDisk();
};

void TestPeVersionReader::readsTheFileVersion_data()
{
    QTest::addColumn<PeFileBuilder::Format>("format");
    QTest::addColumn<QVersionNumber>("fileVersion");
    QTest::addColumn<QVersionNumber>("expected");
    for (const auto format : {PeFileBuilder::Format::Pe32, PeFileBuilder::Format::Pe32Plus}) {
        const char *name = format == PeFileBuilder::Format::Pe32 ? "PE32" : "PE32+";
        QTest::addRow("%s 4.6.2", name)
            << format << QVersionNumber(4, 6, 2) << QVersionNumber(4, 6, 2);
        QTest::addRow("%s fourth word dropped", name)
            << format << QVersionNumber({4, 6, 2, 900}) << QVersionNumber(4, 6, 2);
        QTest::addRow("%s full 16-bit words", name)
            << format << QVersionNumber({65535, 65534, 65533, 65532})
            << QVersionNumber(65535, 65534, 65533);
        QTest::addRow("%s zeros", name)
            << format << QVersionNumber(0, 0, 0) << QVersionNumber(0, 0, 0);
    }
}

// The product version (9.8.7.6 by default) must not be taken for the file version.
void TestPeVersionReader::readsTheFileVersion()
{
    QFETCH(PeFileBuilder::Format, format);
    QFETCH(QVersionNumber, fileVersion);
    QFETCH(QVersionNumber, expected);
    const QByteArray bytes = PeFileBuilder().setFormat(format).setFileVersion(fileVersion).build();
    QCOMPARE(text(PeVersionReader::fromBytes(bytes)), expected.toString());
}

void TestPeVersionReader::fileWithoutVersionResourceHasNoVersion()
{
    const QByteArray bytes = PeFileBuilder().setVersionResource(false).build();
    QCOMPARE(text(PeVersionReader::fromBytes(bytes)), "none");
}

void TestPeVersionReader::damagedFileHasNoVersion_data()
{
    QTest::addColumn<Damage>("damage");
    using L = PeFileBuilder::Layout;
    QTest::newRow("no MZ") << Damage([](QByteArray &b, const L &) { b[0] = 'X'; });
    QTest::newRow("PE header beyond the end")
        << Damage([](QByteArray &b, const L &) { put32(b, 0x3C, 0xFFFFFFF0u); });
    QTest::newRow("PE header at the last bytes")
        << Damage([](QByteArray &b, const L &) { put32(b, 0x3C, quint32(b.size() - 2)); });
    QTest::newRow("no PE signature")
        << Damage([](QByteArray &b, const L &l) { b[l.peHeader] = 'X'; });
    QTest::newRow("unknown optional header magic")
        << Damage([](QByteArray &b, const L &l) { put16(b, l.optionalHeader, 0x107); });
    QTest::newRow("optional header too short for the resource entry")
        << Damage([](QByteArray &b, const L &l) { put16(b, l.peHeader + 4 + 16, 100); });
    QTest::newRow("only two data directories")
        << Damage([](QByteArray &b, const L &l) { put32(b, l.optionalHeader + 92, 2); });
    QTest::newRow("no resource directory")
        << Damage([](QByteArray &b, const L &l) { put32(b, l.resourceDirectoryEntry, 0); });
    QTest::newRow("resources in no section")
        << Damage([](QByteArray &b, const L &l) { put32(b, l.resourceDirectoryEntry, 0x9000); });
    QTest::newRow("huge section count")
        << Damage([](QByteArray &b, const L &l) { put16(b, l.peHeader + 4 + 2, 0xFFFF); });
    QTest::newRow("resource section stored beyond the end") << Damage(
        [](QByteArray &b, const L &l) { put32(b, l.sectionTable + 40 + 20, 0xFFFFFE00u); });
    QTest::newRow("resource section raw size overflowing") << Damage([](QByteArray &b, const L &l) {
        put32(b, l.sectionTable + 40 + 16, 0xFFFFFFFFu);
        put32(b, l.sectionTable + 40 + 20, 0xFFFFFFFFu);
    });
    QTest::newRow("huge entry counts in the root, no version among them")
        << Damage([](QByteArray &b, const L &l) {
               put16(b, l.resourceSection + 12, 0xFFFF);
               put16(b, l.resourceSection + 14, 0xFFFF);
               put32(b, l.versionTypeEntry, 17);
           });
    QTest::newRow("version type is data, not a directory")
        << Damage([](QByteArray &b, const L &l) { put32(b, l.versionTypeEntry + 4, 0x90); });
    QTest::newRow("version type directory beyond the end")
        << Damage([](QByteArray &b, const L &l) { put32(b, l.versionTypeEntry + 4, 0xFFFFFFFFu); });
    QTest::newRow("name directory pointing at itself") << Damage([](QByteArray &b, const L &l) {
        put32(b, l.versionNameDirectory + 16 + 4,
              0x80000000u | quint32(l.versionNameDirectory - l.resourceSection));
    });
    QTest::newRow("language entry is a directory") << Damage([](QByteArray &b, const L &l) {
        put32(b, l.versionLanguageDirectory + 16 + 4,
              0x80000000u | quint32(l.versionLanguageDirectory - l.resourceSection));
    });
    QTest::newRow("version data at an address in no section")
        << Damage([](QByteArray &b, const L &l) { put32(b, l.versionDataEntry, 0x10); });
    QTest::newRow("version data longer than the file")
        << Damage([](QByteArray &b, const L &l) { put32(b, l.versionDataEntry + 4, 0x7FFFFFFF); });
    QTest::newRow("block longer than its resource")
        << Damage([](QByteArray &b, const L &l) { put16(b, l.versionInfo, 200); });
    QTest::newRow("no fixed information")
        << Damage([](QByteArray &b, const L &l) { put16(b, l.versionInfo + 2, 0); });
    QTest::newRow("fixed information too short")
        << Damage([](QByteArray &b, const L &l) { put16(b, l.versionInfo + 2, 20); });
    QTest::newRow("key without its end") << Damage([](QByteArray &b, const L &l) {
        for (qsizetype i = l.versionInfo + 6; i < l.versionInfo + 92; i += 2) {
            put16(b, i, 'A');
        }
    });
    QTest::newRow("wrong signature")
        << Damage([](QByteArray &b, const L &l) { put32(b, l.fixedFileInfo, 0xFEEF04BE); });
}

void TestPeVersionReader::damagedFileHasNoVersion()
{
    QFETCH(Damage, damage);
    PeFileBuilder::Layout layout;
    QByteArray bytes = PeFileBuilder().setFileVersion(QVersionNumber(4, 6, 2)).build(&layout);
    QCOMPARE(text(PeVersionReader::fromBytes(bytes)), "4.6.2");
    damage(bytes, layout);
    QCOMPARE(text(PeVersionReader::fromBytes(bytes)), "none");
}

void TestPeVersionReader::everyTruncationHasNoVersion_data()
{
    QTest::addColumn<PeFileBuilder::Format>("format");
    QTest::newRow("PE32") << PeFileBuilder::Format::Pe32;
    QTest::newRow("PE32+") << PeFileBuilder::Format::Pe32Plus;
}

// The version block is the last thing read, so every cut before its end loses the version.
void TestPeVersionReader::everyTruncationHasNoVersion()
{
    QFETCH(PeFileBuilder::Format, format);
    PeFileBuilder::Layout layout;
    const QByteArray bytes = PeFileBuilder().setFormat(format).build(&layout);
    const qsizetype needed = layout.fixedFileInfo + 52;
    for (qsizetype size = 0; size < needed; ++size) {
        // A copy, so that reading past the cut is a real out-of-bounds read for sanitizers.
        const QByteArray cut = bytes.left(size);
        if (PeVersionReader::fromBytes(cut).has_value()) {
            QFAIL(qPrintable(QStringLiteral("version read from the first %1 bytes").arg(size)));
        }
    }
    QVERIFY(PeVersionReader::fromBytes(bytes.left(needed)).has_value());
}

// Any single byte set to 0x00, 0x7F, 0x80 or 0xFF: the reader must come back, with or without a
// version, every time.
void TestPeVersionReader::everyDamagedByteIsSurvived()
{
    const QByteArray bytes = PeFileBuilder().setFileVersion(QVersionNumber(4, 6, 2)).build();
    int versions = 0;
    int attempts = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        for (const char value : {'\x00', '\x7F', '\x80', '\xFF'}) {
            QByteArray damaged = bytes;
            damaged[i] = value;
            versions += PeVersionReader::fromBytes(damaged).has_value() ? 1 : 0;
            ++attempts;
        }
    }
    // Most bytes of the file are padding that does not matter; the headers do.
    QVERIFY(versions > 0);
    QVERIFY(versions < attempts);
}

void TestPeVersionReader::readsFromDisk()
{
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("Garmin/BaseCamp.exe"));
    QVERIFY(PeFileBuilder::writeExecutable(program, QVersionNumber(4, 7, 1)));
    QCOMPARE(text(PeVersionReader::fromFile(program)), "4.7.1");

    QFile empty(dir.filePath(QStringLiteral("empty.exe")));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    QCOMPARE(text(PeVersionReader::fromFile(empty.fileName())), "none");
    QCOMPARE(text(PeVersionReader::fromFile(dir.filePath(QStringLiteral("missing.exe")))), "none");
    QCOMPARE(text(PeVersionReader::fromFile(dir.path())), "none");
}

HALVORNSYNC_TEST_MAIN(TestPeVersionReader)
#include "tst_peversionreader.moc"
