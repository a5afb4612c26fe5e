#include "PageRecorder.h"
#include "PopupAnswerer.h"
#include "TestFiles.h"
#include "TestMain.h"
#include "VendorServiceProcess.h"
#include "app/PageFactory.h"
#include "app/ProductInfoStep.h"
#include "app/SupportLog.h"
#include "download/FileDownload.h"
#include "halvornsync/Version.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <memory>

// The support log: what a run writes into it, what it never writes, and how the file is kept
// small.
class TestSupportLog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void failedDownloadIsWrittenDown();
    void capAndRotation_data();
    void capAndRotation();
};

// A run that fetches a product and then loses its download: the log has the addresses with the
// serial masked, the attempt with its bytes, the error text with where the log is, and the
// answer; neither the serial nor the home folder appears.
void TestSupportLog::failedDownloadIsWrittenDown()
{
    VendorServiceProcess service;
    QVERIFY2(service.start(), qPrintable(service.errorString()));
    service.useAsServiceAddress();
    FileDownload::setTiming({20, 300, 300});
    const QString serial = QStringLiteral("FAULT-DROP");
    QVERIFY(SupportLog::open(SupportLog::defaultPath()));
    PageRecorder recorder;
    PopupAnswerer answerer;
    answerer.answer(PopupAnswerer::Button::Left);
    answerer.answerSerial(serial);

    ProductInfoStep::start(nullptr);
    QTRY_COMPARE(recorder.pages, QList{PageId::UpdateFirmwarePage});
    const std::unique_ptr<QWidget> page(createPage(PageId::DownloadMapPCPage));
    QTRY_COMPARE(recorder.pages.size(), 2);
    SupportLog::close();

    QFile file(SupportLog::defaultPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString log = QString::fromUtf8(file.readAll());
    const QString where = QStringLiteral("The support log is in ~/.local/share/%1/support.log.")
                              .arg(QCoreApplication::applicationName());
    const QString base = service.baseUrl().toString();
    const QStringList expected{
        "start: HalvornSync " + QLatin1String(ProgramVersion::full),
        "request: GET " + base + "/api/v2/?action=get_info&serial_number=******DROP&language=EN",
        "page: UpdateFirmwarePage",
        "request: HEAD " + base + "/files/halvorn-topo-norway-drop.zip",
        "request: GET " + base + "/files/halvorn-topo-norway-drop.zip",
        "download: failed after ",
        "pop-up: ERROR: Download failed. Would you like to try again? | " + where,
        "answer: NO",
        "page: MajorReleaseAvailablePage"};
    qsizetype at = 0;
    for (const QString &line : expected) {
        at = log.indexOf(line, at);
        QVERIFY2(at >= 0, qPrintable(line + "\nnot in order in:\n" + log));
    }
    const QRegularExpressionMatch bytes =
        QRegularExpression(QStringLiteral("download: failed after (\\d+) of (\\d+) bytes: \\S"))
            .match(log);
    QVERIFY2(bytes.hasMatch(), qPrintable(log));
    QVERIFY(bytes.captured(1).toLongLong() < bytes.captured(2).toLongLong());
    QVERIFY(!log.contains(serial));
    QVERIFY(!log.contains(QDir::homePath()));
}

void TestSupportLog::capAndRotation_data()
{
    // The log's cap is 1000 bytes and each line written is 350 (the start line is shorter, its
    // length left to the system's name). A file is "x<n>" for n bytes written before, then "S" for
    // the start line and the number of each line written, in order.
    QTest::addColumn<QStringList>("before"); // the log, then <log>.1, <log>.2
    QTest::addColumn<int>("kept");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("room: appended") << QStringList{"x100"} << 2 << 1 << QStringList{"x100 S 1"};
    QTest::newRow("full before the run: moved on first")
        << QStringList{"x950"} << 2 << 1 << QStringList{"S 1", "x950"};
    // Full three times during the run, the last time with two older files there: the oldest goes.
    QTest::newRow("a long run keeps the newest")
        << QStringList() << 2 << 7 << QStringList{"7", "5 6", "3 4"};
    QTest::newRow("none kept") << QStringList{"x950", "x901"} << 0 << 1
                               << QStringList{"S 1", "x901"};
}

void TestSupportLog::capAndRotation()
{
    QFETCH(QStringList, before);
    QFETCH(int, kept);
    QFETCH(int, lines);
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("support.log"));
    const auto file = [&path](int n) {
        return n == 0 ? path : path + QLatin1Char('.') + QString::number(n);
    };
    for (int n = 0; n < before.size(); ++n) {
        QVERIFY(TestFiles::write(file(n), QByteArray(before[n].mid(1).toInt(), 'x')));
    }

    QVERIFY(SupportLog::open(path, 1000, kept));
    for (int line = 1; line <= lines; ++line) {
        // 20 for the time, 1 for the line's end.
        SupportLog::write(QString::number(line).leftJustified(350 - 21, QLatin1Char(' ')));
    }
    SupportLog::close();

    QStringList after;
    for (int n = 0; QFile::exists(file(n)); ++n) {
        QFile log(file(n));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QByteArray content = log.readAll();
        QVERIFY2(content.size() <= 1000, qPrintable(file(n)));
        QStringList shape;
        qsizetype filler = 0;
        while (filler < content.size() && content[filler] == 'x') {
            ++filler;
        }
        if (filler > 0) {
            shape << QStringLiteral("x%1").arg(filler);
        }
        for (const QByteArray &line : content.mid(filler).split('\n')) {
            if (!line.isEmpty()) {
                shape << (line.contains("start: HalvornSync") ? "S" : line.mid(20).trimmed());
            }
        }
        after << shape.join(QLatin1Char(' '));
    }
    QTEST(after, "after");
}

HALVORNSYNC_TEST_MAIN(TestSupportLog)
#include "tst_supportlog.moc"
