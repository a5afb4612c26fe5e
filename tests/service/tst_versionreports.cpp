#include "FakePlatform.h"
#include "PageRecorder.h"
#include "PopupAnswerer.h"
#include "TestMain.h"
#include "VendorServiceProcess.h"
#include "app/Core.h"
#include "service/PcVersionReport.h"
#include "service/ProductInfo.h"
#include "service/SdTransferReport.h"
#include "service/SdVersionReport.h"
#include "service/VersionReport.h"

#include <QPushButton>
#include <QTimer>

#include <functional>

namespace {
using Button = PopupAnswerer::Button;

ProductInfo cardProduct(const QString &serial)
{
    ProductInfo info;
    info.productSerial = serial;
    info.latestVersion = QVersionNumber(24, 2, 0);
    info.sdVersion = QVersionNumber(23, 4, 1);
    info.sdSubProducts = {{QStringLiteral("Card 1 of 2"), {}, {}, 4662},
                          {QStringLiteral("Card 2 of 2"), {}, {}, 4663}};
    return info;
}

// A report is over when its object has deleted itself: nothing more can follow.
bool reportsRunning()
{
    return !Core::instance()->findChildren<VersionReport *>().isEmpty();
}

void send(const QString &action, const ProductInfo &info, QPushButton *button = nullptr)
{
    if (action == QLatin1String("update_info_pc")) {
        PcVersionReport::send(info);
    } else if (action == QLatin1String("update_info_sd")) {
        SdVersionReport::send(info, button);
    } else {
        SdTransferReport::send(info, 1);
    }
}

QJsonObject withoutTime(QJsonObject entry)
{
    entry.remove(QStringLiteral("received_at"));
    return entry;
}
} // namespace

class TestVersionReports : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void reportsCarryExactlyTheirParameters_data();
    void reportsCarryExactlyTheirParameters();
    void successfulReportsMoveTheWizardOnce_data();
    void successfulReportsMoveTheWizardOnce();
    void failedReportIsSentOnceMoreAndMovesTheWizardOnce_data();
    void failedReportIsSentOnceMoreAndMovesTheWizardOnce();
    void repeatedTransferReportLeavesLaterWorkAlone();
    void cardVersionReportFailureEnablesNext();
    void cardVersionReportTimesOutAndEnablesNext();
    void cardVersionReportOutlivesItsPage();

private:
    VendorServiceProcess m_service;
};

void TestVersionReports::initTestCase()
{
    QVERIFY2(m_service.start(), qPrintable(m_service.errorString()));
    m_service.useAsServiceAddress();
}

void TestVersionReports::init()
{
    m_service.clearRequests();
    Core::instance()->setCardUpdated(false);
    SdVersionReport::setTimeoutMs(SdVersionReport::defaultTimeoutMs);
}

void TestVersionReports::reportsCarryExactlyTheirParameters_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QVersionNumber>("latest");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QJsonObject>("expected");
    const QString serial = QStringLiteral("HALV-SD-0002");
    QTest::newRow("computer") << "update_info_pc" << QVersionNumber(24, 2, 0)
                              << QLocale(QLocale::English)
                              << QJsonObject{
                                     {"action", "update_info_pc"}, {"serial_number", serial},
                                     {"pc_version_major", "24"},   {"pc_version_minor", "2"},
                                     {"pc_version_update", "0"},   {"language", "EN"}};
    QTest::newRow("computer, one segment, French")
        << "update_info_pc" << QVersionNumber(25) << QLocale(QLocale::French)
        << QJsonObject{{"action", "update_info_pc"}, {"serial_number", serial},
                       {"pc_version_major", "25"},   {"pc_version_minor", "0"},
                       {"pc_version_update", "0"},   {"language", "FR"}};
    QTest::newRow("card version, two segments")
        << "update_info_sd" << QVersionNumber(3, 10) << QLocale(QLocale::English)
        << QJsonObject{{"action", "update_info_sd"}, {"serial_number", serial},
                       {"sd_version_major", "3"},    {"sd_version_minor", "10"},
                       {"sd_version_update", "0"},   {"language", "EN"}};
    QTest::newRow("card transfer: the second card and the card version on record")
        << "transfer_sd" << QVersionNumber(24, 2, 0) << QLocale(QLocale::French)
        << QJsonObject{{"action", "transfer_sd"},
                       {"serial_number", serial},
                       {"product_name_sd", "Card 2 of 2"},
                       {"sd_version_major", "23"},
                       {"sd_version_minor", "4"},
                       {"sd_version_update", "1"},
                       {"language", "FR"}};
}

void TestVersionReports::reportsCarryExactlyTheirParameters()
{
    QFETCH(QString, action);
    QFETCH(QVersionNumber, latest);
    QFETCH(QLocale, locale);
    QFETCH(QJsonObject, expected);
    FakePlatform platform;
    PageRecorder recorder;
    QPushButton next;
    ProductInfo info = cardProduct(QStringLiteral("HALV-SD-0002"));
    info.latestVersion = latest;

    const QLocale previous;
    QLocale::setDefault(locale);
    send(action, info, &next);
    QLocale::setDefault(previous);
    QTRY_VERIFY(!reportsRunning());

    const QList<QJsonObject> received = m_service.requests();
    QCOMPARE(received.size(), 1);
    QCOMPARE(withoutTime(received.first()), expected);
}

void TestVersionReports::successfulReportsMoveTheWizardOnce_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QList<PageId>>("pages");
    QTest::addColumn<bool>("cardUpdated");
    QTest::addColumn<int>("allowSleepCalls");
    QTest::newRow("computer") << "update_info_pc" << QList<PageId>{PageId::InformNewPCVersionPage}
                              << false << 0;
    QTest::newRow("card version: the user moves on")
        << "update_info_sd" << QList<PageId>{} << false << 0;
    QTest::newRow("card transfer")
        << "transfer_sd" << QList<PageId>{PageId::EjectSDPage} << true << 1;
}

void TestVersionReports::successfulReportsMoveTheWizardOnce()
{
    QFETCH(QString, action);
    QFETCH(QList<PageId>, pages);
    QFETCH(bool, cardUpdated);
    QFETCH(int, allowSleepCalls);
    FakePlatform platform;
    PageRecorder recorder;
    PopupAnswerer popups;
    QPushButton next;
    next.setEnabled(false);

    send(action, cardProduct(QStringLiteral("HALV-SD-0002")), &next);
    QTRY_VERIFY(!reportsRunning());

    QCOMPARE(recorder.pages, pages);
    QCOMPARE(Core::instance()->cardUpdated(), cardUpdated);
    QCOMPARE(platform.allowSleepCalls, allowSleepCalls);
    QCOMPARE(popups.shownCount(), 0);
    QVERIFY(next.isEnabled() || action != QLatin1String("update_info_sd"));
}

void TestVersionReports::failedReportIsSentOnceMoreAndMovesTheWizardOnce_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<PageId>("page");
    QTest::newRow("computer") << "update_info_pc" << PageId::InformNewPCVersionPage;
    QTest::newRow("card transfer") << "transfer_sd" << PageId::EjectSDPage;
}

void TestVersionReports::failedReportIsSentOnceMoreAndMovesTheWizardOnce()
{
    QFETCH(QString, action);
    QFETCH(PageId, page);
    FakePlatform platform;
    PageRecorder recorder;
    PopupAnswerer popups;
    popups.answer(Button::Right, 2);

    // This product's reports always get HTTP 500.
    send(action, cardProduct(QStringLiteral("FAULT-REPORT-FAILS")));
    QTRY_VERIFY(!reportsRunning());

    const QList<QJsonObject> received = m_service.requests(action);
    QCOMPARE(received.size(), 2);
    QCOMPARE(withoutTime(received.at(1)), withoutTime(received.at(0)));
    QCOMPARE(popups.shownCount(), 2);
    for (const PopupAnswerer::Shown &shown : popups.shown()) {
        QCOMPARE(shown.header, QStringLiteral("ERROR"));
        QCOMPARE(shown.text, QStringLiteral("Updating new map version information failed."));
    }
    QCOMPARE(recorder.pages, QList<PageId>{page});
}

void TestVersionReports::repeatedTransferReportLeavesLaterWorkAlone()
{
    // Once the wizard has moved on, the next card's download keeps the computer awake; the repeat
    // of the failed report must neither let it sleep nor move the wizard again.
    FakePlatform platform;
    PageRecorder recorder;
    // The next page starts its work from the event loop, after the report's own handler is done.
    recorder.onPage = [&recorder] {
        if (recorder.pages.size() == 1) {
            QTimer::singleShot(0, [] { Core::instance()->preventSleep(); });
        }
    };
    PopupAnswerer popups;
    popups.answer(Button::Right, 2);

    SdTransferReport::send(cardProduct(QStringLiteral("FAULT-REPORT-FAILS")), 0);
    QTRY_VERIFY(!reportsRunning());

    QCOMPARE(m_service.requests(QStringLiteral("transfer_sd")).size(), 2);
    QCOMPARE(recorder.pages, QList<PageId>{PageId::EjectSDPage});
    QVERIFY(Core::instance()->cardUpdated());
    QVERIFY(platform.keptAwake);
}

void TestVersionReports::cardVersionReportFailureEnablesNext()
{
    PageRecorder recorder;
    PopupAnswerer popups;
    QPushButton next;
    next.setEnabled(false);
    bool enabledWhenMessageShown = false;
    QTimer probe;
    connect(&probe, &QTimer::timeout, this, [&] {
        if (popups.openPopup()) {
            enabledWhenMessageShown = next.isEnabled();
            popups.answerOpen(Button::Right);
        }
    });
    probe.start(0);

    SdVersionReport::send(cardProduct(QStringLiteral("FAULT-REPORT-FAILS")), &next);
    QTRY_VERIFY(!reportsRunning());
    probe.stop();

    QVERIFY(enabledWhenMessageShown);
    QVERIFY(next.isEnabled());
    QCOMPARE(popups.shownCount(), 1);
    QCOMPARE(m_service.requests(QStringLiteral("update_info_sd")).size(), 1);
    QVERIFY(recorder.pages.isEmpty());
}

void TestVersionReports::cardVersionReportTimesOutAndEnablesNext()
{
    SdVersionReport::setTimeoutMs(200);
    PageRecorder recorder;
    PopupAnswerer popups;
    popups.answer(Button::Right);
    QPushButton next;
    next.setEnabled(false);

    // This product's reports are never answered.
    SdVersionReport::send(cardProduct(QStringLiteral("FAULT-REPORT-HANGS")), &next);
    QTRY_VERIFY(next.isEnabled());
    QTRY_VERIFY(!reportsRunning());

    QCOMPARE(popups.shownCount(), 1);
    QCOMPARE(popups.shown().first().text,
             QStringLiteral("Updating new map version information failed."));
    QCOMPARE(m_service.requests(QStringLiteral("update_info_sd")).size(), 1);
    QVERIFY(recorder.pages.isEmpty());
}

void TestVersionReports::cardVersionReportOutlivesItsPage()
{
    SdVersionReport::setTimeoutMs(200);
    PopupAnswerer popups;
    popups.answer(Button::Right);
    auto *page = new QWidget;
    auto *next = new QPushButton(page);
    next->setEnabled(false);

    SdVersionReport::send(cardProduct(QStringLiteral("FAULT-REPORT-HANGS")), next);
    delete page;
    QTRY_VERIFY(!reportsRunning());
    QCOMPARE(popups.shownCount(), 1);
}

HALVORNSYNC_TEST_MAIN(TestVersionReports)
#include "tst_versionreports.moc"
