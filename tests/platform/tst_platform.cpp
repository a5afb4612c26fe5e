#include "PeFileBuilder.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "platform/PeVersionReader.h"
#include "platform/platform.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QtEndian>

#include <functional>

namespace {
using Damage = std::function<void(QByteArray &, const PeFileBuilder::Layout &)>;

template <typename T> void put(QByteArray &bytes, qsizetype offset, T value)
{
    qToLittleEndian(value, bytes.data() + offset);
}
const auto put32 = put<quint32>;
const auto put16 = put<quint16>;

} // namespace

Q_DECLARE_METATYPE(Damage)
Q_DECLARE_METATYPE(PeFileBuilder::Format)

// Reading executables' versions and files from the medium, the same on every system.
class TestPlatform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsTheFileVersion_data();
    void readsTheFileVersion();
    void everyTruncationHasNoVersion();
    void readsInOrderUntilStopped_data();
    void readsInOrderUntilStopped();
    void volumeHoldingAFolder_data();
    void volumeHoldingAFolder();
};

void TestPlatform::readsTheFileVersion_data()
{
    QTest::addColumn<PeFileBuilder::Format>("format");
    QTest::addColumn<QVersionNumber>("fileVersion");
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<QString>("expected");
    using F = PeFileBuilder::Format;
    using L = PeFileBuilder::Layout;
    const QVersionNumber v462(4, 6, 2);
    // The product version (9.8.7.6 by default) must not be taken for the file version.
    QTest::newRow("PE32") << F::Pe32 << v462 << Damage() << "4.6.2";
    QTest::newRow("PE32+, fourth word dropped")
        << F::Pe32Plus << QVersionNumber({4, 6, 2, 900}) << Damage() << "4.6.2";
    QTest::newRow("full 16-bit words") << F::Pe32 << QVersionNumber({65535, 65534, 65533, 65532})
                                       << Damage() << "65535.65534.65533";

    const auto damaged = [&](const char *name, Damage damage) {
        QTest::newRow(name) << F::Pe32 << v462 << damage << "none";
    };
    damaged("PE header offset beyond the end",
            [](QByteArray &b, const L &) { put32(b, 0x3C, 0xFFFFFFF0u); });
    damaged("unknown optional header magic",
            [](QByteArray &b, const L &l) { put16(b, l.optionalHeader, 0x107); });
    damaged("optional header too short for the resource entry",
            [](QByteArray &b, const L &l) { put16(b, l.peHeader + 4 + 16, 100); });
    damaged("huge section count",
            [](QByteArray &b, const L &l) { put16(b, l.peHeader + 4 + 2, 0xFFFF); });
    damaged("resource section stored beyond the end",
            [](QByteArray &b, const L &l) { put32(b, l.sectionTable + 40 + 20, 0xFFFFFFFFu); });
    damaged("huge entry counts, no version type", [](QByteArray &b, const L &l) {
        put16(b, l.resourceSection + 12, 0xFFFF);
        put16(b, l.resourceSection + 14, 0xFFFF);
        put32(b, l.versionTypeEntry, 17);
    });
    damaged("version type directory beyond the end",
            [](QByteArray &b, const L &l) { put32(b, l.versionTypeEntry + 4, 0xFFFFFFFFu); });
    damaged("name directory pointing at itself", [](QByteArray &b, const L &l) {
        put32(b, l.versionNameDirectory + 16 + 4,
              0x80000000u | quint32(l.versionNameDirectory - l.resourceSection));
    });
    damaged("version data longer than the file",
            [](QByteArray &b, const L &l) { put32(b, l.versionDataEntry + 4, 0x7FFFFFFF); });
    damaged("fixed information too short",
            [](QByteArray &b, const L &l) { put16(b, l.versionInfo + 2, 20); });
    damaged("key without its end", [](QByteArray &b, const L &l) {
        for (qsizetype i = l.versionInfo + 6; i < l.versionInfo + 92; i += 2) {
            put16(b, i, 'A');
        }
    });
    damaged("wrong signature",
            [](QByteArray &b, const L &l) { put32(b, l.fixedFileInfo, 0xFEEF04BE); });
}

void TestPlatform::readsTheFileVersion()
{
    QFETCH(PeFileBuilder::Format, format);
    QFETCH(QVersionNumber, fileVersion);
    QFETCH(Damage, damage);
    PeFileBuilder::Layout layout;
    QByteArray bytes = PeFileBuilder{.format = format, .fileVersion = fileVersion}.build(&layout);
    if (damage) {
        damage(bytes, layout);
    }
    const std::optional<QVersionNumber> version = PeVersionReader::fromBytes(bytes);
    QTEST(version ? version->toString() : QStringLiteral("none"), "expected");
}

// The version block is the last thing read, so every cut before its end loses the version.
void TestPlatform::everyTruncationHasNoVersion()
{
    PeFileBuilder::Layout layout;
    const QByteArray bytes =
        PeFileBuilder{.format = PeFileBuilder::Format::Pe32Plus}.build(&layout);
    const qsizetype needed = layout.fixedFileInfo + 52;
    for (qsizetype size = 0; size < needed; ++size) {
        // A copy, so that reading past the cut is a real out-of-bounds read for sanitizers.
        if (PeVersionReader::fromBytes(bytes.left(size))) {
            QFAIL(qPrintable(QStringLiteral("version read from the first %1 bytes").arg(size)));
        }
    }
    QVERIFY(PeVersionReader::fromBytes(bytes.left(needed)));
}

// Reading a file back from its medium, as the card page checks a copy: every byte once, in order,
// whatever the file's size against the blocks and the read-ahead window; and a stop when asked.
void TestPlatform::readsInOrderUntilStopped_data()
{
    QTest::addColumn<qint64>("size"); // -1: no file
    QTest::addColumn<int>("stopAt");  // the block whose handler asks to stop; 0: none
    QTest::newRow("empty") << qint64(0) << 0;
    QTest::newRow("past several read-ahead windows, not a whole block")
        << (qint64(70) << 20) + 12345 << 0;
    QTest::newRow("stopped at the second block") << qint64(3 << 20) << 2;
    QTest::newRow("no file") << qint64(-1) << 0;
}

void TestPlatform::readsInOrderUntilStopped()
{
    QFETCH(qint64, size);
    QFETCH(int, stopAt);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gmapsupp.img"));
    const QByteArray data = TestFiles::randomBytes(qMax<qint64>(size, 0));
    QVERIFY(size < 0 || TestFiles::write(path, data));

    QCryptographicHash hash(QCryptographicHash::Md5);
    qint64 seen = 0;
    int blocks = 0;
    const bool read = createNativePlatform()->readFromMedium(path, [&](QByteArrayView block) {
        hash.addData(block);
        seen += block.size();
        return ++blocks != stopAt;
    });
    QCOMPARE(read, size >= 0 && stopAt == 0);
    if (stopAt) {
        QCOMPARE(blocks, stopAt);
    } else if (read) {
        QCOMPARE(seen, size);
        QCOMPARE(hash.result(), QCryptographicHash::hash(data, QCryptographicHash::Md5));
    }
}

// Which volume a folder of the system's or the user's lives on, so that it is never offered as a
// card: the innermost mount above it, as Linux and Windows name their roots.
void TestPlatform::volumeHoldingAFolder_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("roots");
    QTest::addColumn<QString>("holding");
    const QStringList linux{"/", "/home", "/media/ann/CARD"};
    QTest::newRow("the home on its own volume") << "/home/ann" << linux << "/home";
    QTest::newRow("the system's root") << "/" << linux << "/";
    QTest::newRow("a name that only begins like a mount point")
        << "/media/ann/CARD2/x" << linux << "/";
    QTest::newRow("a system running from its card")
        << "/media/ann/CARD" << linux << "/media/ann/CARD";
    QTest::newRow("Windows drive, other letter case")
        << "c:/Users/ann" << QStringList{"E:/", "C:/"} << "C:/";
    QTest::newRow("held by none") << "D:/Maps" << QStringList{"E:/", "C:/"} << "";
}

void TestPlatform::volumeHoldingAFolder()
{
    QFETCH(QString, path);
    QFETCH(QStringList, roots);
    QTEST(Platform::volumeHolding(path, roots), "holding");
}

HALVORNSYNC_TEST_MAIN(TestPlatform)
#include "tst_platform.moc"
