#include "FakePlatform.h"
#include "TestSandbox.h"
#include "TourRoute.h"
#include "app/Core.h"
#include "download/DownloadEstimate.h"
#include "pages/card/CardSafetyCopy.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QRegularExpression>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

namespace {

const bool Accept = true;
const bool Decline = false;

PopupAnswer serial(const QString &serial)
{
    return {QStringLiteral("serial"), Accept, serial};
}

// The installed copy of the sample computer map (family 4660 in the service's catalogue).
void installNorwayNorth(const QString &version)
{
    TestSandbox::addInstalledMap(QStringLiteral("HalvornTopoNorwayNorth"), 4660,
                                 QStringLiteral("Halvorn Topo Norway North ") + version);
}

// Ticks the maps named on the check list shown, in this order.
void tickMaps(const QStringList &names)
{
    const auto *list =
        Core::mainWindow()->findChild<QAbstractItemView *>(QStringLiteral("MapsListView"));
    QAbstractItemModel *maps = list->model();
    for (const QString &name : names) {
        for (const QModelIndex &map : maps->match(maps->index(0, 0), Qt::DisplayRole, name)) {
            maps->setData(map, Qt::Checked, Qt::CheckStateRole);
        }
    }
}

QString shownText(QWidget *page, const char *label)
{
    const auto *widget = page->findChild<QLabel *>(QLatin1String(label));
    return widget && widget->isVisible() ? widget->text() : QString();
}

// A download page's busy steps, told apart by what it says.
TourMoment pageSays(const char *pageName, const QString &name, const char *text)
{
    return {name, [pageName, text](QWidget *page) {
                const auto *bar = page->findChild<QProgressBar *>(QStringLiteral("ProgressBar"));
                return page->objectName() == QLatin1String(pageName) && bar &&
                       bar->maximum() == 0 &&
                       shownText(page, "InfoLabel") == QCoreApplication::translate(pageName, text);
            }};
}

TourMoment mapPageSays(const QString &name, const char *text)
{
    return pageSays("DownloadMapPCPage", name, text);
}

// The card page's steps, told apart by what it says and whether its bar is busy or counts.
TourMoment cardPageSays(const QString &name, const char *text, bool busy)
{
    return {name, [text, busy](QWidget *page) {
                const auto *bar = page->findChild<QProgressBar *>(QStringLiteral("ProgressBar"));
                return page->objectName() == QLatin1String("DownloadMapSDPage") && bar &&
                       (bar->maximum() == 0) == busy &&
                       shownText(page, "InfoLabel") ==
                           QCoreApplication::translate("DownloadMapSDPage", text);
            }};
}

// The card page or the card list saying `text` (asked when the page is seen, in the tour's
// language) in the label named.
TourMoment cardStepSays(const char *pageName, const char *label, const QString &name,
                        std::function<QString()> text)
{
    return {name, [pageName, label, text](QWidget *page) {
                return page->objectName() == QLatin1String(pageName) &&
                       shownText(page, label) == text();
            }};
}

// The drive list before the first look for cards.
const TourMoment noDrive{QStringLiteral("no-drive"), [](QWidget *page) {
                             const auto *drives =
                                 page->findChild<QComboBox *>(QStringLiteral("DrivesComboBox"));
                             return drives && drives->count() == 0;
                         }};

// Megabytes and a time estimate under a moving bar.
const TourMoment downloading{QStringLiteral("downloading"), [](QWidget *page) {
                                 const QString time = shownText(page, "TimeLabel");
                                 return !shownText(page, "DownloadedLabel").isEmpty() &&
                                        time.contains(QRegularExpression(QStringLiteral("\\d"))) &&
                                        !time.contains(DownloadEstimate::stalledText());
                             }};

// The megabytes a download page shows as received and as its total ("2.00 / 8.00 MB,"), the
// same in every language.
std::optional<std::pair<double, double>> shownMegabytes(QWidget *page)
{
    static const QRegularExpression figures(QStringLiteral("(\\d+\\.\\d+) / (\\d+\\.\\d+)"));
    const QRegularExpressionMatch match = figures.match(shownText(page, "DownloadedLabel"));
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return std::make_pair(match.captured(1).toDouble(), match.captured(2).toDouble());
}

// The computer map's download continued after it broke off at `fraction` of the file: reached
// once the page shows more than that, and never if its megabytes went back on the way there (a
// download started over from byte 0).
TourMoment mapContinuedPast(const QString &name, double fraction)
{
    auto highest = std::make_shared<double>(0.0);
    auto wentBack = std::make_shared<bool>(false);
    return {name, [highest, wentBack, fraction](QWidget *page) {
                const auto shown = page->objectName() == QLatin1String("DownloadMapPCPage")
                                       ? shownMegabytes(page)
                                       : std::nullopt;
                if (!shown) {
                    return false;
                }
                *wentBack = *wentBack || shown->first < *highest;
                *highest = std::max(*highest, shown->first);
                return !*wentBack && shown->first > shown->second * fraction;
            }};
}

const TourMoment stalled{
    QStringLiteral("stalled"), [](QWidget *page) {
        return shownText(page, "TimeLabel").contains(DownloadEstimate::stalledText());
    }};

// From the thank-you page, `serial`'s computer map is reinstalled over the same version and the
// page's `questions` are answered, the last one with NO; then on to the thank-you page again.
QList<TourStep> declinedReinstall(const QString &serialNumber, QList<PopupAnswer> questions,
                                  const QList<TourMoment> &moments)
{
    questions.prepend(serial(serialNumber));
    questions.append({QStringLiteral("transfer-to-gps"), Decline});
    return {
        {"ThankYouPage", "UpdateAnotherButton", questions},
        {"UpdateFirmwarePage", "NextButton", {}},
        {"CloseGarminPage", {}, {}},
        {"NoPCUpdatesAvailablePage", "ReinstallButton", {}},
        {"DownloadMapPCPage", {}, {}, {}, {}, moments},
        {"MajorReleaseAvailablePage", {}, {}},
        {"DownloadGPSDataPage", {}, {}},
    };
}

} // namespace

QList<TourRoute> tourRoutes(const QString &languageButton, FakePlatform *platform)
{
    QList<TourRoute> routes;

    routes.append(
        {QStringLiteral("Computer map, no BaseCamp yet, update available, major release offered"),
         [platform] {
             platform->setBaseCamp({});
             installNorwayNorth(QStringLiteral("24.1"));
         },
         {
             {"ChooseLanguagePage", languageButton, {}},
             {"InstallUpdateUninstallPage", "InstallUpdateButton", {}},
             {"HighSpeedConnectionRequiredPage", "NextButton", {serial("HALV-MAJOR-0005")}},
             {"UpdateFirmwarePage", "NextButton", {{"basecamp-required", Accept}}},
             {"DownloadBaseCampPage", {}, {}},
             {"InstallBaseCampPage", "ContinueButton", {}},
             {"CloseGarminPage", {}, {}},
             {"PCUpdatesAvailablePage", "UpdateNowButton", {}},
             {"DownloadMapPCPage", {}, {}},
             {"InformNewPCVersionPage", "NextButton", {}},
             {"MajorReleaseAvailablePage", "SkipButton", {{"transfer-to-gps", Accept}}},
             {"TransferToGPS2Page", "NeedHelpButton", {{"need-help", Accept}}},
             {"TransferToGPS2Page", "NextButton", {}},
             {"TransferToGPS3Page", "ContinueButton", {}},
             {"DownloadGPSDataPage", {}, {}},
             {"ThankYouPage", {}, {}},
         }});

    // Each further product starts again from the thank-you page, as a user would.
    routes.append({QStringLiteral("Computer map up to date, with additional GPS data"),
                   [platform] {
                       platform->setBaseCamp(QVersionNumber(4, 6, 2));
                       installNorwayNorth(QStringLiteral("24.2.0"));
                   },
                   {
                       {"ThankYouPage", "UpdateAnotherButton", {serial("HALV-GPS-0004")}},
                       {"UpdateFirmwarePage", "NextButton", {}},
                       {"CloseGarminPage", {}, {}},
                       {"NoPCUpdatesAvailablePage",
                        "NextButton",
                        {{"transfer-to-gps", Decline}, {"gps-data", Accept}}},
                       // No major release on offer: the page shows nothing and moves on.
                       {"MajorReleaseAvailablePage", {}, {}, "no-release"},
                       {"DownloadGPSDataPage", {}, {}},
                       {"GPSDataExtractedPage", "NextButton", {}},
                       {"ThankYouPage", {}, {}, "basecamp"},
                   }});

    // The first card arrives write-protected; its map comes slowly, so the page can be seen at
    // each of its steps. The second card is skipped.
    routes.append(
        {QStringLiteral("Two preprogrammed cards, update available, then the computer"),
         [platform] {
             platform->insertCard(TestSandbox::makeCard(QStringLiteral("card"), 4662), {},
                                  QStringLiteral("HALVORN"));
         },
         {
             {"ThankYouPage", "UpdateAnotherButton", {serial("HALV-SD-SLOW-0008")}},
             {"UpdateFirmwarePage", "NextButton", {}},
             {"InsertSDPage",
              "NeedHelpButton",
              {{QStringLiteral("need-help"), Accept}},
              {},
              [platform] { platform->volumes.first().readOnly = true; },
              {noDrive}},
             {"InsertSDPage", "ContinueButton", {{QStringLiteral("read-only"), Accept}}, "drive"},
             {"InsertSDPage",
              "ContinueButton",
              {},
              {},
              [platform] {
                  platform->volumes.first().readOnly = false;
              }},
             {"SDUpdatesAvailablePage", "UpdateNowButton", {}},
             {"DownloadMapSDPage",
              {},
              {},
              {},
              {},
              {downloading,
               cardPageSays(QStringLiteral("verifying"), "Verifying downloaded map...", true),
               cardPageSays(QStringLiteral("transferring"),
                            "Transferring new map to preprogrammed card...", false),
               cardPageSays(QStringLiteral("checking"),
                            "Checking the map on the preprogrammed card...", true)}},
             // Out goes the first card, in goes the second.
             {"EjectSDPage",
              {},
              {},
              {},
              [platform] {
                  platform->insertCard(TestSandbox::makeCard(QStringLiteral("card2"), 4663), {},
                                       QStringLiteral("HALVORN"));
              }},
             {"InsertSDPage", "ContinueButton", {}},
             {"SDUpdatesAvailablePage", "SkipButton", {}},
             {"EjectSDPage",
              {},
              {},
              {},
              [platform] {
                  platform->volumes.clear();
              }},
             {"InformNewSDVersionPage",
              "NextButton",
              {{"view-map-on-pc", Accept}, {"install-map-on-pc", Accept}}},
             {"ViewMapOnPCPage", {}, {}},
             {"CloseGarminPage", {}, {}},
             {"DownloadMapPCPage", {}, {}},
             {"InformNewPCVersionPage", "NextButton", {}},
             {"MajorReleaseAvailablePage", {}, {}},
             {"DownloadGPSDataPage", {}, {}},
             {"ThankYouPage", {}, {}},
         }});

    routes.append({QStringLiteral("Preprogrammed cards already up to date, the second one blank, "
                                  "no BaseCamp"),
                   [platform] {
                       platform->setBaseCamp({});
                       platform->insertCard(TestSandbox::makeCard(QStringLiteral("card"), 4662), {},
                                            QStringLiteral("HALVORN"));
                   },
                   {
                       {"ThankYouPage", "UpdateAnotherButton", {serial("HALV-SD-CURRENT-0007")}},
                       {"UpdateFirmwarePage", "NextButton", {}},
                       {"InsertSDPage", "ContinueButton", {}},
                       {"NoSDUpdatesAvailablePage", "NextButton", {}},
                       {"EjectSDPage",
                        {},
                        {},
                        {},
                        [platform] {
                            platform->insertCard(
                                TestSandbox::makeCard(QStringLiteral("card2"), std::nullopt), {},
                                QStringLiteral("HALVORN"));
                        }},
                       {"InsertSDPage", "ContinueButton", {}},
                       {"NoSDUpdatesAvailablePage", "ReinstallButton", {}, "no-map"},
                       {"DownloadMapSDPage",
                        {},
                        {{QStringLiteral("transfer-failed"), Decline},
                         {"view-map-on-pc", Accept},
                         {"basecamp-required", Decline}},
                        {},
                        [platform] {
                            platform->failCardFiles(-1);
                        }},
                       {"EjectSDPage",
                        {},
                        {},
                        {},
                        [platform] {
                            platform->failCardFiles(0);
                            platform->volumes.clear();
                        }},
                       {"ViewMapOnPCPage", {}, {}},
                       {"MajorReleaseAvailablePage", {}, {}},
                       {"DownloadGPSDataPage", {}, {}},
                       {"ThankYouPage", {}, {}},
                   }});

    // A map too large for the card's FAT32, then a card too full, then a corrupt map.
    routes.append(
        {QStringLiteral("The card page's questions: too large for FAT32, no room, a corrupt map"),
         [platform] {
             platform
                 ->insertCard(TestSandbox::makeCard(QStringLiteral("card"), 4662), {},
                              QStringLiteral("HALVORN"))
                 .fileSystemType = QStringLiteral("FAT32");
         },
         {
             {"ThankYouPage", "UpdateAnotherButton", {serial("FAULT-CARD-TOO-LARGE")}},
             {"UpdateFirmwarePage", "NextButton", {}},
             {"InsertSDPage", "ContinueButton", {}},
             {"SDUpdatesAvailablePage", "UpdateNowButton", {}},
             {"DownloadMapSDPage", {}, {{QStringLiteral("too-large"), Accept}}},
             {"InsertSDPage",
              "ContinueButton",
              {},
              {},
              [platform] {
                  platform->volumes.first().fileSystemType = QStringLiteral("exFAT");
                  platform->volumes.first().bytesAvailable = 1024 * 1024;
              }},
             {"SDUpdatesAvailablePage", "UpdateNowButton", {}},
             {"DownloadMapSDPage", {}, {{QStringLiteral("no-room"), Accept}}},
             {"InsertSDPage",
              {},
              {},
              {},
              [] {
                  Core::instance()->setCurrentPage(PageId::ThankYouPage);
              }},
             {"ThankYouPage",
              "UpdateAnotherButton",
              {serial("FAULT-CARD-WRONG-MD5")},
              {},
              [platform] {
                  platform->volumes.first().bytesAvailable = qint64(32) << 30;
              }},
             {"UpdateFirmwarePage", "NextButton", {}},
             {"InsertSDPage", "ContinueButton", {}},
             {"SDUpdatesAvailablePage", "UpdateNowButton", {}},
             {"DownloadMapSDPage", {}, {{QStringLiteral("corrupt"), Decline}}},
             {"EjectSDPage",
              {},
              {},
              {},
              [platform] {
                  platform->volumes.clear();
              }},
             {"InsertSDPage",
              {},
              {},
              {},
              [] {
                  Core::instance()->setCurrentPage(PageId::ThankYouPage);
              }},
             {"ThankYouPage", {}, {}},
         }});

    // A card with room for one map: its map is first kept on the computer, and put back when the
    // copy fails; then the computer has no room for that copy; then the copy cannot be put back
    // until the card comes back. Each time the next product starts from the thank-you page.
    const auto cardWithRoomForOne = [platform] {
        platform->insertCard(QDir::homePath() + QStringLiteral("/card"), {},
                             QStringLiteral("HALVORN"));
        // The new map's size, not twice that.
        platform->volumes.first().bytesAvailable = qint64(8) << 20;
    };
    const auto nextProduct = [] {
        Core::instance()->setCurrentPage(PageId::ThankYouPage);
    };
    const auto cardTakenOut = [platform] {
        platform->volumes.clear();
    };
    const auto updateCard = [](const QList<PopupAnswer> &answers, const QList<TourMoment> &moments,
                               std::function<void()> afterwards) -> QList<TourStep> {
        return {
            {"ThankYouPage", "UpdateAnotherButton", {serial("HALV-SD-0002")}},
            {"UpdateFirmwarePage", "NextButton", {}},
            {"InsertSDPage", "ContinueButton", {}},
            {"SDUpdatesAvailablePage", "UpdateNowButton", {}},
            {"DownloadMapSDPage", {}, answers, {}, {}, moments},
            {"EjectSDPage", {}, {}, {}, std::move(afterwards)},
        };
    };
    TourRoute roomForOne{
        QStringLiteral("A card with room for one map: its map kept on the computer, put back"),
        [platform, cardWithRoomForOne] {
            TestSandbox::makeCard(QStringLiteral("card"), 4662);
            cardWithRoomForOne();
            platform->failCardFiles(1);
        },
        {}};
    roomForOne.steps += updateCard(
        {{QStringLiteral("transfer-failed-put-back"), Decline}},
        {cardStepSays("DownloadMapSDPage", "InfoLabel", QStringLiteral("keeping-a-copy"),
                      [] {
                          return QCoreApplication::translate(
                                     "DownloadMapSDPage",
                                     "Keeping a copy of the card's current map on your %1...")
                              .arg(Core::computerWord());
                      }),
         cardStepSays("DownloadMapSDPage", "InfoLabel", QStringLiteral("putting-back"),
                      &CardSafetyCopy::puttingBackText)},
        cardTakenOut);
    roomForOne.steps.append(
        {"InsertSDPage", {}, {}, {}, [platform, nextProduct, cardWithRoomForOne] {
             nextProduct();
             cardWithRoomForOne();
             platform->freeBytesAt.insert(CardSafetyCopy::folder(), 0);
         }});
    roomForOne.steps +=
        updateCard({{QStringLiteral("no-room-for-a-copy"), Decline}}, {}, [platform, cardTakenOut] {
            platform->freeBytesAt.clear();
            cardTakenOut();
        });
    roomForOne.steps.append(
        {"InsertSDPage", {}, {}, {}, [platform, nextProduct, cardWithRoomForOne] {
             nextProduct();
             cardWithRoomForOne();
             platform->failCardFiles(2); // the copy, and the put-back
         }});
    roomForOne.steps += updateCard({{QStringLiteral("not-put-back"), Accept}}, {}, cardTakenOut);
    roomForOne.steps += {
        {"InsertSDPage", {}, {}, {}, nextProduct},
        {"ThankYouPage", "UpdateAnotherButton", {serial("HALV-SD-0002")}, {}, cardWithRoomForOne},
        {"UpdateFirmwarePage", "NextButton", {}},
        // The card back: its map goes back onto it before it can be chosen.
        {"InsertSDPage",
         "ContinueButton",
         {},
         QStringLiteral("put-back"),
         {},
         {cardStepSays("InsertSDPage", "StatusLabel", QStringLiteral("putting-back"),
                       &CardSafetyCopy::puttingBackText)}},
        {"SDUpdatesAvailablePage", "SkipButton", {}},
        {"EjectSDPage", {}, {}, {}, cardTakenOut},
        {"InsertSDPage", {}, {}, {}, nextProduct},
        {"ThankYouPage", {}, {}},
    };
    routes.append(roomForOne);

    // The throttled map takes a few seconds, so the page can be seen at each of its steps.
    routes.append(
        {QStringLiteral("The computer map at work: downloading, verifying, extracting, installing"),
         [platform] { platform->setBaseCamp(QVersionNumber(4, 6, 2)); },
         {
             {"ThankYouPage", "UpdateAnotherButton", {serial("HALV-SLOW-0006")}},
             {"UpdateFirmwarePage", "NextButton", {}},
             {"CloseGarminPage", {}, {}},
             {"NoPCUpdatesAvailablePage", "ReinstallButton", {{"transfer-to-gps", Decline}}},
             {"DownloadMapPCPage",
              {},
              {},
              {},
              {},
              {downloading, mapPageSays(QStringLiteral("verifying"), "Verifying downloaded map..."),
               mapPageSays(QStringLiteral("extracting"), "Extracting map files..."),
               mapPageSays(QStringLiteral("installing"), "Installing downloaded map...")}},
             {"InformNewPCVersionPage", "NextButton", {}},
             {"MajorReleaseAvailablePage", {}, {}},
             {"DownloadGPSDataPage", {}, {}},
             {"ThankYouPage", {}, {}},
         }});

    // The installer and the GPS data come slowly, so each page can be seen at its steps.
    routes.append(
        {QStringLiteral("BaseCamp and the additional GPS data at work: downloading, verifying, "
                        "extracted"),
         [platform] {
             platform->setBaseCamp({});
             installNorwayNorth(QStringLiteral("24.2.0"));
         },
         {
             {"ThankYouPage", "UpdateAnotherButton", {serial("HALV-EXTRAS-0009")}},
             {"UpdateFirmwarePage", "NextButton", {{"basecamp-required", Accept}}},
             {"DownloadBaseCampPage",
              {},
              {},
              {},
              {},
              {downloading, pageSays("DownloadBaseCampPage", QStringLiteral("verifying"),
                                     "Verifying downloaded installer...")}},
             {"InstallBaseCampPage", "ContinueButton", {}},
             {"CloseGarminPage", {}, {}},
             {"NoPCUpdatesAvailablePage",
              "NextButton",
              {{"transfer-to-gps", Decline}, {"gps-data", Accept}}},
             {"MajorReleaseAvailablePage", {}, {}},
             {"DownloadGPSDataPage", {}, {}, {}, {}, {downloading}},
             {"GPSDataExtractedPage", "NextButton", {}},
             {"ThankYouPage", {}, {}},
         }});

    // A corrupt installer twice fetched again by itself, then the user asked; corrupt GPS data;
    // then, with BaseCamp in place, GPS data whose download fails.
    routes.append(
        {QStringLiteral("BaseCamp and the GPS data's questions: a corrupt installer, corrupt data, "
                        "a failed download"),
         [platform] {
             platform->setBaseCamp({});
             installNorwayNorth(QStringLiteral("24.2.0"));
         },
         {
             {"ThankYouPage", "UpdateAnotherButton", {serial("FAULT-EXTRAS-CORRUPT")}},
             {"UpdateFirmwarePage",
              "NextButton",
              {{"basecamp-required", Accept},
               {"installer-corrupt", Accept},
               {"installer-corrupt-again", Accept},
               {"installer-corrupt-ask", Decline},
               {"transfer-to-gps", Decline},
               {"gps-data", Accept},
               {"gps-data-corrupt", Decline}}},
             {"DownloadBaseCampPage", {}, {}},
             {"MajorReleaseAvailablePage", {}, {}},
             {"DownloadGPSDataPage", {}, {}},
             {"ThankYouPage",
              "UpdateAnotherButton",
              {serial("FAULT-GPS-HTTP-ERROR")},
              {},
              [platform] {
                  platform->setBaseCamp(QVersionNumber(4, 6, 2));
              }},
             {"UpdateFirmwarePage", "NextButton", {}},
             {"CloseGarminPage", {}, {}},
             {"NoPCUpdatesAvailablePage",
              "NextButton",
              {{"transfer-to-gps", Decline}, {"gps-data", Accept}, {"gps-data-failed", Decline}}},
             {"MajorReleaseAvailablePage", {}, {}},
             {"DownloadGPSDataPage", {}, {}},
             {"ThankYouPage", {}, {}},
         }});

    // Each product is reinstalled from the thank-you page and answers one question with NO.
    TourRoute questions{QStringLiteral("The computer map page's questions: no room, a stall, a "
                                       "corrupt map, a folder in the way"),
                        [platform] { platform->lowSpaceAnswers = 1; },
                        {}};
    questions.steps += declinedReinstall(
        QStringLiteral("FAULT-STALL"),
        {{QStringLiteral("no-space"), Accept}, {QStringLiteral("download-failed"), Decline}},
        {stalled});
    questions.steps += declinedReinstall(QStringLiteral("FAULT-WRONG-MD5"),
                                         {{QStringLiteral("corrupt"), Decline}}, {});
    // A folder of the new map's name that holds another map stays where it is.
    const qsizetype conflict = questions.steps.size();
    questions.steps += declinedReinstall(QStringLiteral("HALV-PC-0001"),
                                         {{QStringLiteral("install-failed"), Decline}}, {});
    questions.steps[conflict].before = [] {
        TestSandbox::addInstalledMap(QStringLiteral("HalvornTopoNorwaySouth"), 4999,
                                     QStringLiteral("Halvorn Topo Other 24.1"));
    };
    questions.steps.append({"ThankYouPage", {}, {}});
    routes.append(questions);

    // The service's refusal leaves the user where the step started.
    routes.append({QStringLiteral("A serial the service refuses, then one with a notice"),
                   {},
                   {
                       {"ThankYouPage",
                        "UpdateAnotherButton",
                        {serial("FAULT-SERVICE-ERROR"), {QStringLiteral("error"), Accept, {}}}},
                       {"ThankYouPage",
                        "UpdateAnotherButton",
                        {serial("HALV-NOTICE-0003"), {QStringLiteral("information"), Accept, {}}}},
                       {"UpdateFirmwarePage", {}, {}},
                   }});

    // A new run: the wizard starts again on its first page. One of the maps chosen has a file
    // open in it, so the report shows a failure beside a success.
    routes.append(
        {QStringLiteral("Uninstalling maps, one of them in use"),
         [platform] {
             platform->undeletableFolders = {QStringLiteral("HalvornTrails")};
             Core::instance()->setCurrentPage(PageId::ChooseLanguagePage);
         },
         {
             {"ChooseLanguagePage", languageButton, {}},
             {"InstallUpdateUninstallPage", "UninstallButton", {}},
             // Removals wait, so that the page can be pictured at work.
             {"SelectProductsPage",
              {},
              {},
              {},
              [platform] {
                  tickMaps({QStringLiteral("HalvornTrails"), QStringLiteral("HalvornTopoNordic")});
                  platform->holdRemovals();
              }},
             {"SelectProductsPage", "UninstallButton", {}},
             {"UninstallingPage",
              {},
              {},
              {},
              [platform] {
                  platform->waitForHeldRemoval(10000);
              }},
             {"UninstallingPage",
              {},
              {},
              "removing",
              [platform] {
                  platform->releaseRemovals();
              }},
             {"ProductsUninstalledPage", "NextButton", {}},
             {"ThankYouPage", {}, {}},
         }});

    // The map's first download breaks off at 60 %; after YES it continues from there rather than
    // from 0, and the map is verified and installed as a whole one. Last, so that the pictures of
    // the routes before keep their numbers.
    routes.append(
        {QStringLiteral("The computer map's download broken off, then continued where it stopped"),
         [platform] {
             platform->setBaseCamp(QVersionNumber(4, 6, 2));
             installNorwayNorth(QStringLiteral("24.2.0"));
             // The folder another map held on the questions' route holds this map's own again.
             TestSandbox::addInstalledMap(QStringLiteral("HalvornTopoNorwaySouth"), 4661,
                                          QStringLiteral("Halvorn Topo Norway South 24.2.0"));
         },
         {
             {"ThankYouPage", "UpdateAnotherButton", {serial("FAULT-DROP-ONCE")}},
             {"UpdateFirmwarePage", "NextButton", {}},
             {"CloseGarminPage", {}, {}},
             {"NoPCUpdatesAvailablePage",
              "ReinstallButton",
              {{QStringLiteral("dropped"), Accept}, {"transfer-to-gps", Decline}}},
             {"DownloadMapPCPage",
              {},
              {},
              {},
              {},
              {{QStringLiteral("before-drop"), downloading.reached},
               mapContinuedPast(QStringLiteral("continued"), 0.6),
               mapPageSays(QStringLiteral("continued-verifying"), "Verifying downloaded map...")}},
             {"InformNewPCVersionPage", "NextButton", {}, QStringLiteral("after-continued")},
             {"MajorReleaseAvailablePage", {}, {}},
             {"DownloadGPSDataPage", {}, {}},
             {"ThankYouPage", {}, {}},
         }});
    return routes;
}
