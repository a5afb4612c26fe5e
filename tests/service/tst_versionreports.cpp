#include "FakePlatform.h"
#include "PageRecorder.h"
#include "PopupAnswerer.h"
#include "TestMain.h"
#include "VendorServiceProcess.h"
#include "app/Core.h"
#include "service/PcVersionReport.h"
#include "service/ProductInfo.h"
#include "service/ReplyTimeout.h"
#include "service/SdTransferReport.h"
#include "service/SdVersionReport.h"
#include "service/VersionReport.h"

#include <QPushButton>
#include <QTimer>
#include <QUrlQuery>

namespace {
using Button = PopupAnswerer::Button;

ProductInfo cardProduct(const QString &serial)
{
    ProductInfo info;
    info.productSerial = serial;
    info.latestVersion = QVersionNumber(24, 2, 0);
    info.sdVersion = QVersionNumber(23, 4, 1);
    info.sdSubProducts = {{QStringLiteral("Card 1"), {}, {}, 4662},
                          {QStringLiteral("Card 2 & more"), {}, {}, 4663}};
    return info;
}

// A report is over when its object has deleted itself: nothing more can follow.
bool reportsRunning()
{
    return !Core::instance()->findChildren<VersionReport *>().isEmpty();
}

void send(const QString &action, const ProductInfo &info, QPushButton *next, int cardIndex = 1)
{
    if (action == QLatin1String("update_info_pc")) {
        PcVersionReport::send(info);
    } else if (action == QLatin1String("update_info_sd")) {
        SdVersionReport::send(info, next);
    } else {
        SdTransferReport::send(info, cardIndex);
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

    void acceptedReports_data();
    void acceptedReports();
    void failedReports_data();
    void failedReports();

private:
    VendorServiceProcess m_service;
};

void TestVersionReports::initTestCase()
{
    QVERIFY2(m_service.start(), qPrintable(m_service.errorString()));
    m_service.useAsServiceAddress();
    // The reports carry the language; the machine's own must not change them.
    QLocale::setDefault(QLocale(QLocale::English));
}

void TestVersionReports::init()
{
    m_service.clearRequests();
    Core::instance()->setCardUpdated(false);
    SdVersionReport::setTimeoutMs(SdVersionReport::defaultTimeoutMs);
    // The silent service's reports are given up at once; the others are answered long before.
    ReplyTimeout::setSilenceMs(1000);
}

void TestVersionReports::acceptedReports_data()
{
    QTest::addColumn<QVersionNumber>("latest");
    QTest::addColumn<int>("cardIndex");
    QTest::addColumn<QString>("query"); // exactly what the service must receive
    QTest::addColumn<QList<PageId>>("pages");
    // The computer report is the end-to-end walk's (tests/e2e), the serial's escaping the product
    // request's (tst_productinforequest): both build their address as these do.
    QTest::newRow("card version sends the latest; the user moves on")
        << QVersionNumber(3, 10) << 0
        << "action=update_info_sd&serial_number=S%26N%26language%3DXX&sd_version_major=3&"
           "sd_version_minor=10&sd_version_update=0&language=EN"
        << QList<PageId>{};
    // The end-to-end walk reports the names of both cards; this card is past the product's list.
    QTest::newRow("card transfer: the card version on record, for a card the product lacks")
        << QVersionNumber(24, 2, 0) << 2
        << "action=transfer_sd&serial_number=S%26N%26language%3DXX&product_name_sd=&"
           "sd_version_major=23&sd_version_minor=4&sd_version_update=1&language=EN"
        << QList<PageId>{PageId::EjectSDPage};
}

void TestVersionReports::acceptedReports()
{
    QFETCH(QVersionNumber, latest);
    QFETCH(int, cardIndex);
    QFETCH(QString, query);
    const QUrlQuery items(query);
    const QString action = items.queryItemValue(QStringLiteral("action"));
    FakePlatform platform;
    Core::instance()->preventSleep();
    PageRecorder recorder;
    PopupAnswerer popups;
    QPushButton next;
    next.setEnabled(false);
    ProductInfo info = cardProduct(QStringLiteral("S&N&language=XX"));
    info.latestVersion = latest;

    send(action, info, &next, cardIndex);
    QTRY_VERIFY(!reportsRunning());

    const QList<QJsonObject> received = m_service.requests();
    QCOMPARE(received.size(), 1);
    QJsonObject expected;
    for (const auto &[key, value] : items.queryItems(QUrl::FullyDecoded)) {
        expected.insert(key, value);
    }
    QCOMPARE(withoutTime(received.first()), expected);
    QTEST(recorder.pages, "pages");
    QCOMPARE(popups.shownCount(), 0);
    const bool transfer = action == QLatin1String("transfer_sd");
    QCOMPARE(Core::instance()->cardUpdated(), transfer);
    QCOMPARE(platform.keptAwake, !transfer);
    QCOMPARE(next.isEnabled(), action == QLatin1String("update_info_sd"));
}

void TestVersionReports::failedReports_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("serial"); // refused with HTTP 500, or never answered
    QTest::addColumn<QList<PageId>>("pages");
    QTest::addColumn<bool>("pageDeleted"); // the page with the Next button goes while it runs
    const auto row = [](const char *name, const char *action, const char *serial,
                        const QList<PageId> &pages, bool pageDeleted = false) {
        QTest::newRow(name) << action << serial << pages << pageDeleted;
    };
    const QList<PageId> computer{PageId::InformNewPCVersionPage};
    const QList<PageId> eject{PageId::EjectSDPage};
    // The computer and transfer reports are sent once more, and the wizard moves on once.
    row("card transfer", "transfer_sd", "FAULT-REPORT-FAILS", eject);
    row("computer, silent", "update_info_pc", "FAULT-REPORT-HANGS", computer);
    // The card version report is not repeated.
    row("card version", "update_info_sd", "FAULT-REPORT-FAILS", {});
    row("card version, silent, page gone", "update_info_sd", "FAULT-REPORT-HANGS", {}, true);
}

void TestVersionReports::failedReports()
{
    QFETCH(QString, action);
    QFETCH(QString, serial);
    QFETCH(bool, pageDeleted);
    const bool cardVersion = action == QLatin1String("update_info_sd");
    SdVersionReport::setTimeoutMs(200);
    FakePlatform platform;
    PageRecorder recorder;
    // Once the wizard has moved on, the next page's work keeps the computer awake (started from the
    // event loop, after the report's own handler); the repeat must not let it sleep.
    recorder.onPage = [&recorder] {
        if (recorder.pages.size() == 1) {
            QTimer::singleShot(0, [] { Core::instance()->preventSleep(); });
        }
    };
    PopupAnswerer popups;
    popups.answerUnexpectedWith(Button::Right);
    auto page = std::make_unique<QWidget>();
    QPointer<QPushButton> next = new QPushButton(page.get());
    next->setEnabled(false);

    send(action, cardProduct(serial), next);
    if (pageDeleted) {
        page.reset();
    }
    QTRY_VERIFY(!reportsRunning());

    const QList<QJsonObject> received = m_service.requests(action);
    QCOMPARE(received.size(), cardVersion ? 1 : 2);
    QCOMPARE(withoutTime(received.last()), withoutTime(received.first()));
    QCOMPARE(popups.shownCount(), received.size());
    QTEST(recorder.pages, "pages");
    QVERIFY(!next || next->isEnabled() == cardVersion);
    QVERIFY(cardVersion || platform.keptAwake);
}

HALVORNSYNC_TEST_MAIN(TestVersionReports)
#include "tst_versionreports.moc"
