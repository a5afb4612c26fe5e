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

RouteAnswer serial(const QString &serial)
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
RouteMoment pageSays(const char *pageName, const QString &name, const char *text)
{
    return {name, [pageName, text](QWidget *page) {
                const auto *bar = page->findChild<QProgressBar *>(QStringLiteral("ProgressBar"));
                return page->objectName() == QLatin1String(pageName) && bar &&
                       bar->maximum() == 0 &&
                       shownText(page, "InfoLabel") == QCoreApplication::translate(pageName, text);
            }};
}

RouteMoment mapPageSays(const QString &name, const char *text)
{
    return pageSays("DownloadMapPCPage", name, text);
}

// The card page's steps, told apart by what it says and whether its bar is busy or counts.
RouteMoment cardPageSays(const QString &name, const char *text, bool busy)
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
RouteMoment cardStepSays(const char *pageName, const char *label, const QString &name,
                         std::function<QString()> text)
{
    return {name, [pageName, label, text](QWidget *page) {
                return page->objectName() == QLatin1String(pageName) &&
                       shownText(page, label) == text();
            }};
}

// The drive list before the first look for cards.
const RouteMoment noDrive{QStringLiteral("no-drive"), [](QWidget *page) {
                              const auto *drives =
                                  page->findChild<QComboBox *>(QStringLiteral("DrivesComboBox"));
                              return drives && drives->count() == 0;
                          }};

// Megabytes and a time estimate under a moving bar.
const RouteMoment downloading{QStringLiteral("downloading"), [](QWidget *page) {
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
RouteMoment mapContinuedPast(const QString &name, double fraction)
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

const RouteMoment stalled{
    QStringLiteral("stalled"), [](QWidget *page) {
        return shownText(page, "TimeLabel").contains(DownloadEstimate::stalledText());
    }};

// From the thank-you page, `serial`'s computer map is reinstalled over the same version and the
// page's `questions` are answered, the last one with NO; then on to the thank-you page again.
QList<RouteStep> declinedReinstall(const QString &serialNumber, QList<RouteAnswer> questions,
                                   const QList<RouteMoment> &moments = {})
{
    questions.prepend(serial(serialNumber));
    questions.append({QStringLiteral("transfer-to-gps"), Decline});
    return {
        {.page = "ThankYouPage", .click = "UpdateAnotherButton", .answers = questions},
        {.page = "UpdateFirmwarePage", .click = "NextButton"},
        {.page = "CloseGarminPage"},
        {.page = "NoPCUpdatesAvailablePage", .click = "ReinstallButton"},
        {.page = "DownloadMapPCPage", .moments = moments},
        {.page = "MajorReleaseAvailablePage"},
        {.page = "DownloadGPSDataPage"},
    };
}

} // namespace

QList<TourRoute> tourRoutes(const QString &languageButton, FakePlatform *platform)
{
    QList<TourRoute> routes;
    // The next product starts from the thank-you page; the card is taken out.
    const auto nextProduct = [] {
        Core::instance()->setCurrentPage(PageId::ThankYouPage);
    };
    const auto cardTakenOut = [platform] {
        platform->volumes.clear();
    };

    routes.append(
        {QStringLiteral("Computer map, no BaseCamp yet, update available, major release offered"),
         [platform] {
             platform->setBaseCamp({});
             installNorwayNorth(QStringLiteral("24.1"));
         },
         {
             {.page = "ChooseLanguagePage", .click = languageButton},
             {.page = "InstallUpdateUninstallPage", .click = "InstallUpdateButton"},
             {.page = "HighSpeedConnectionRequiredPage",
              .click = "NextButton",
              .answers = {serial("HALV-MAJOR-0005")}},
             {.page = "UpdateFirmwarePage",
              .click = "NextButton",
              .answers = {{"basecamp-required", Accept}}},
             {.page = "DownloadBaseCampPage"},
             {.page = "InstallBaseCampPage", .click = "ContinueButton"},
             {.page = "CloseGarminPage"},
             {.page = "PCUpdatesAvailablePage", .click = "UpdateNowButton"},
             {.page = "DownloadMapPCPage"},
             {.page = "InformNewPCVersionPage", .click = "NextButton"},
             {.page = "MajorReleaseAvailablePage",
              .click = "SkipButton",
              .answers = {{"transfer-to-gps", Accept}}},
             {.page = "TransferToGPS2Page",
              .click = "NeedHelpButton",
              .answers = {{"need-help", Accept}}},
             {.page = "TransferToGPS2Page", .click = "NextButton"},
             {.page = "TransferToGPS3Page", .click = "ContinueButton"},
             {.page = "DownloadGPSDataPage"},
             {.page = "ThankYouPage"},
         }});

    // Each further product starts again from the thank-you page, as a user would.
    routes.append({QStringLiteral("Computer map up to date, with additional GPS data"),
                   [platform] {
                       platform->setBaseCamp(QVersionNumber(4, 6, 2));
                       installNorwayNorth(QStringLiteral("24.2.0"));
                   },
                   {
                       {.page = "ThankYouPage",
                        .click = "UpdateAnotherButton",
                        .answers = {serial("HALV-GPS-0004")}},
                       {.page = "UpdateFirmwarePage", .click = "NextButton"},
                       {.page = "CloseGarminPage"},
                       {.page = "NoPCUpdatesAvailablePage",
                        .click = "NextButton",
                        .answers = {{"transfer-to-gps", Decline}, {"gps-data", Accept}}},
                       // No major release on offer: the page shows nothing and moves on.
                       {.page = "MajorReleaseAvailablePage", .picture = "no-release"},
                       {.page = "DownloadGPSDataPage"},
                       {.page = "GPSDataExtractedPage", .click = "NextButton"},
                       {.page = "ThankYouPage", .picture = "basecamp"},
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
             {.page = "ThankYouPage",
              .click = "UpdateAnotherButton",
              .answers = {serial("HALV-SD-SLOW-0008")}},
             {.page = "UpdateFirmwarePage", .click = "NextButton"},
             {.page = "InsertSDPage",
              .click = "NeedHelpButton",
              .answers = {{QStringLiteral("need-help"), Accept}},
              .moments = {noDrive},
              .before =
                  [platform] {
                      platform->volumes.first().readOnly = true;
                  }},
             {.page = "InsertSDPage",
              .click = "ContinueButton",
              .answers = {{QStringLiteral("read-only"), Accept}},
              .picture = "drive"},
             {.page = "InsertSDPage",
              .click = "ContinueButton",
              .before =
                  [platform] {
                      platform->volumes.first().readOnly = false;
                  }},
             {.page = "SDUpdatesAvailablePage", .click = "UpdateNowButton"},
             {.page = "DownloadMapSDPage",
              .moments = {downloading,
                          cardPageSays(QStringLiteral("verifying"), "Verifying downloaded map...",
                                       true),
                          cardPageSays(QStringLiteral("transferring"),
                                       "Transferring new map to preprogrammed card...", false),
                          cardPageSays(QStringLiteral("checking"),
                                       "Checking the map on the preprogrammed card...", true)}},
             // Out goes the first card, in goes the second.
             {.page = "EjectSDPage",
              .before =
                  [platform] {
                      platform->insertCard(TestSandbox::makeCard(QStringLiteral("card2"), 4663), {},
                                           QStringLiteral("HALVORN"));
                  }},
             {.page = "InsertSDPage", .click = "ContinueButton"},
             {.page = "SDUpdatesAvailablePage", .click = "SkipButton"},
             {.page = "EjectSDPage",
              .before =
                  [platform] {
                      platform->volumes.clear();
                  }},
             {.page = "InformNewSDVersionPage",
              .click = "NextButton",
              .answers = {{"view-map-on-pc", Accept}, {"install-map-on-pc", Accept}}},
             {.page = "ViewMapOnPCPage"},
             {.page = "CloseGarminPage"},
             {.page = "DownloadMapPCPage"},
             {.page = "InformNewPCVersionPage", .click = "NextButton"},
             {.page = "MajorReleaseAvailablePage"},
             {.page = "DownloadGPSDataPage"},
             {.page = "ThankYouPage"},
         }});

    routes.append(
        {QStringLiteral("Preprogrammed cards already up to date, the second one blank, "
                        "no BaseCamp"),
         [platform] {
             platform->setBaseCamp({});
             platform->insertCard(TestSandbox::makeCard(QStringLiteral("card"), 4662), {},
                                  QStringLiteral("HALVORN"));
         },
         {
             {.page = "ThankYouPage",
              .click = "UpdateAnotherButton",
              .answers = {serial("HALV-SD-CURRENT-0007")}},
             {.page = "UpdateFirmwarePage", .click = "NextButton"},
             {.page = "InsertSDPage", .click = "ContinueButton"},
             {.page = "NoSDUpdatesAvailablePage", .click = "NextButton"},
             {.page = "EjectSDPage",
              .before =
                  [platform] {
                      platform->insertCard(
                          TestSandbox::makeCard(QStringLiteral("card2"), std::nullopt), {},
                          QStringLiteral("HALVORN"));
                  }},
             {.page = "InsertSDPage", .click = "ContinueButton"},
             {.page = "NoSDUpdatesAvailablePage", .click = "ReinstallButton", .picture = "no-map"},
             {.page = "DownloadMapSDPage",
              .answers = {{QStringLiteral("transfer-failed"), Decline},
                          {"view-map-on-pc", Accept},
                          {"basecamp-required", Decline}},
              .before =
                  [platform] {
                      platform->failCardFiles(-1);
                  }},
             {.page = "EjectSDPage",
              .before =
                  [platform] {
                      platform->failCardFiles(0);
                      platform->volumes.clear();
                  }},
             {.page = "ViewMapOnPCPage"},
             {.page = "MajorReleaseAvailablePage"},
             {.page = "DownloadGPSDataPage"},
             {.page = "ThankYouPage"},
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
             {.page = "ThankYouPage",
              .click = "UpdateAnotherButton",
              .answers = {serial("FAULT-CARD-TOO-LARGE")}},
             {.page = "UpdateFirmwarePage", .click = "NextButton"},
             {.page = "InsertSDPage", .click = "ContinueButton"},
             {.page = "SDUpdatesAvailablePage", .click = "UpdateNowButton"},
             {.page = "DownloadMapSDPage", .answers = {{QStringLiteral("too-large"), Accept}}},
             {.page = "InsertSDPage",
              .click = "ContinueButton",
              .before =
                  [platform] {
                      platform->volumes.first().fileSystemType = QStringLiteral("exFAT");
                      platform->volumes.first().bytesAvailable = 1024 * 1024;
                  }},
             {.page = "SDUpdatesAvailablePage", .click = "UpdateNowButton"},
             {.page = "DownloadMapSDPage", .answers = {{QStringLiteral("no-room"), Accept}}},
             {.page = "InsertSDPage", .before = nextProduct},
             {.page = "ThankYouPage",
              .click = "UpdateAnotherButton",
              .answers = {serial("FAULT-CARD-WRONG-MD5")},
              .before =
                  [platform] {
                      platform->volumes.first().bytesAvailable = qint64(32) << 30;
                  }},
             {.page = "UpdateFirmwarePage", .click = "NextButton"},
             {.page = "InsertSDPage", .click = "ContinueButton"},
             {.page = "SDUpdatesAvailablePage", .click = "UpdateNowButton"},
             {.page = "DownloadMapSDPage", .answers = {{QStringLiteral("corrupt"), Decline}}},
             {.page = "EjectSDPage", .before = cardTakenOut},
             {.page = "InsertSDPage", .before = nextProduct},
             {.page = "ThankYouPage"},
         }});

    // A card with room for one map: its map is first kept on the computer, and put back when the
    // copy fails; then the computer has no room for that copy; then the copy cannot be put back
    // until the card comes back. Each time the next product starts from the thank-you page.
    const auto cardWithRoomForOne = [platform] {
        platform->insertCard(QDir::homePath() + QStringLiteral("/card"), {},
                             QStringLiteral("HALVORN"));
        // the new map's size, not twice that
        platform->volumes.first().bytesAvailable = qint64(8) << 20;
    };
    const auto updateCard = [](const QList<RouteAnswer> &answers, std::function<void()> afterwards,
                               const QList<RouteMoment> &moments = {}) -> QList<RouteStep> {
        return {
            {.page = "ThankYouPage",
             .click = "UpdateAnotherButton",
             .answers = {serial("HALV-SD-0002")}},
            {.page = "UpdateFirmwarePage", .click = "NextButton"},
            {.page = "InsertSDPage", .click = "ContinueButton"},
            {.page = "SDUpdatesAvailablePage", .click = "UpdateNowButton"},
            {.page = "DownloadMapSDPage", .answers = answers, .moments = moments},
            {.page = "EjectSDPage", .before = std::move(afterwards)},
        };
    };
    TourRoute roomForOne{
        .title =
            QStringLiteral("A card with room for one map: its map kept on the computer, put back"),
        .prepare = [platform, cardWithRoomForOne] {
            TestSandbox::makeCard(QStringLiteral("card"), 4662);
            cardWithRoomForOne();
            platform->failCardFiles(1);
        }};
    roomForOne.steps += updateCard(
        {{QStringLiteral("transfer-failed-put-back"), Decline}}, cardTakenOut,
        {cardStepSays("DownloadMapSDPage", "InfoLabel", QStringLiteral("keeping-a-copy"),
                      [] {
                          return QCoreApplication::translate(
                                     "DownloadMapSDPage",
                                     "Keeping a copy of the card's current map on your %1...")
                              .arg(Core::computerWord());
                      }),
         cardStepSays("DownloadMapSDPage", "InfoLabel", QStringLiteral("putting-back"),
                      &CardSafetyCopy::puttingBackText)});
    roomForOne.steps.append(
        {.page = "InsertSDPage", .before = [platform, nextProduct, cardWithRoomForOne] {
             nextProduct();
             cardWithRoomForOne();
             platform->freeBytesAt.insert(CardSafetyCopy::folder(), 0);
         }});
    roomForOne.steps +=
        updateCard({{QStringLiteral("no-room-for-a-copy"), Decline}}, [platform, cardTakenOut] {
            platform->freeBytesAt.clear();
            cardTakenOut();
        });
    roomForOne.steps.append(
        {.page = "InsertSDPage", .before = [platform, nextProduct, cardWithRoomForOne] {
             nextProduct();
             cardWithRoomForOne();
             platform->failCardFiles(2); // the copy, and the put-back
         }});
    roomForOne.steps += updateCard({{QStringLiteral("not-put-back"), Accept}}, cardTakenOut);
    roomForOne.steps += {
        {.page = "InsertSDPage", .before = nextProduct},
        {.page = "ThankYouPage",
         .click = "UpdateAnotherButton",
         .answers = {serial("HALV-SD-0002")},
         .before = cardWithRoomForOne},
        {.page = "UpdateFirmwarePage", .click = "NextButton"},
        // The card back: its map goes back onto it before it can be chosen.
        {.page = "InsertSDPage",
         .click = "ContinueButton",
         .picture = QStringLiteral("put-back"),
         .moments = {cardStepSays("InsertSDPage", "StatusLabel", QStringLiteral("putting-back"),
                                  &CardSafetyCopy::puttingBackText)}},
        {.page = "SDUpdatesAvailablePage", .click = "SkipButton"},
        {.page = "EjectSDPage", .before = cardTakenOut},
        {.page = "InsertSDPage", .before = nextProduct},
        {.page = "ThankYouPage"},
    };
    routes.append(roomForOne);

    // The throttled map takes a few seconds, so the page can be seen at each of its steps.
    routes.append(
        {QStringLiteral("The computer map at work: downloading, verifying, extracting, installing"),
         [platform] { platform->setBaseCamp(QVersionNumber(4, 6, 2)); },
         {
             {.page = "ThankYouPage",
              .click = "UpdateAnotherButton",
              .answers = {serial("HALV-SLOW-0006")}},
             {.page = "UpdateFirmwarePage", .click = "NextButton"},
             {.page = "CloseGarminPage"},
             {.page = "NoPCUpdatesAvailablePage",
              .click = "ReinstallButton",
              .answers = {{"transfer-to-gps", Decline}}},
             {.page = "DownloadMapPCPage",
              .moments = {downloading,
                          mapPageSays(QStringLiteral("verifying"), "Verifying downloaded map..."),
                          mapPageSays(QStringLiteral("extracting"), "Extracting map files..."),
                          mapPageSays(QStringLiteral("installing"),
                                      "Installing downloaded map...")}},
             {.page = "InformNewPCVersionPage", .click = "NextButton"},
             {.page = "MajorReleaseAvailablePage"},
             {.page = "DownloadGPSDataPage"},
             {.page = "ThankYouPage"},
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
             {.page = "ThankYouPage",
              .click = "UpdateAnotherButton",
              .answers = {serial("HALV-EXTRAS-0009")}},
             {.page = "UpdateFirmwarePage",
              .click = "NextButton",
              .answers = {{"basecamp-required", Accept}}},
             {.page = "DownloadBaseCampPage",
              .moments = {downloading, pageSays("DownloadBaseCampPage", QStringLiteral("verifying"),
                                                "Verifying downloaded installer...")}},
             {.page = "InstallBaseCampPage", .click = "ContinueButton"},
             {.page = "CloseGarminPage"},
             {.page = "NoPCUpdatesAvailablePage",
              .click = "NextButton",
              .answers = {{"transfer-to-gps", Decline}, {"gps-data", Accept}}},
             {.page = "MajorReleaseAvailablePage"},
             {.page = "DownloadGPSDataPage", .moments = {downloading}},
             {.page = "GPSDataExtractedPage", .click = "NextButton"},
             {.page = "ThankYouPage"},
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
             {.page = "ThankYouPage",
              .click = "UpdateAnotherButton",
              .answers = {serial("FAULT-EXTRAS-CORRUPT")}},
             {.page = "UpdateFirmwarePage",
              .click = "NextButton",
              .answers = {{"basecamp-required", Accept},
                          {"installer-corrupt", Accept},
                          {"installer-corrupt-again", Accept},
                          {"installer-corrupt-ask", Decline},
                          {"transfer-to-gps", Decline},
                          {"gps-data", Accept},
                          {"gps-data-corrupt", Decline}}},
             {.page = "DownloadBaseCampPage"},
             {.page = "MajorReleaseAvailablePage"},
             {.page = "DownloadGPSDataPage"},
             {.page = "ThankYouPage",
              .click = "UpdateAnotherButton",
              .answers = {serial("FAULT-GPS-HTTP-ERROR")},
              .before =
                  [platform] {
                      platform->setBaseCamp(QVersionNumber(4, 6, 2));
                  }},
             {.page = "UpdateFirmwarePage", .click = "NextButton"},
             {.page = "CloseGarminPage"},
             {.page = "NoPCUpdatesAvailablePage",
              .click = "NextButton",
              .answers = {{"transfer-to-gps", Decline},
                          {"gps-data", Accept},
                          {"gps-data-failed", Decline}}},
             {.page = "MajorReleaseAvailablePage"},
             {.page = "DownloadGPSDataPage"},
             {.page = "ThankYouPage"},
         }});

    // Each product is reinstalled from the thank-you page and answers one question with NO.
    TourRoute questions{.title = QStringLiteral("The computer map page's questions: no room, a "
                                                "stall, a corrupt map, a folder in the way"),
                        .prepare = [platform] {
                            platform->lowSpaceAnswers = 1;
                        }};
    questions.steps += declinedReinstall(
        QStringLiteral("FAULT-STALL"),
        {{QStringLiteral("no-space"), Accept}, {QStringLiteral("download-failed"), Decline}},
        {stalled});
    questions.steps += declinedReinstall(QStringLiteral("FAULT-WRONG-MD5"),
                                         {{QStringLiteral("corrupt"), Decline}});
    // A folder of the new map's name that holds another map stays where it is.
    const qsizetype conflict = questions.steps.size();
    questions.steps += declinedReinstall(QStringLiteral("HALV-PC-0001"),
                                         {{QStringLiteral("install-failed"), Decline}});
    questions.steps[conflict].before = [] {
        TestSandbox::addInstalledMap(QStringLiteral("HalvornTopoNorwaySouth"), 4999,
                                     QStringLiteral("Halvorn Topo Other 24.1"));
    };
    questions.steps.append({.page = "ThankYouPage"});
    routes.append(questions);

    // The service's refusal leaves the user where the step started.
    routes.append(
        {.title = QStringLiteral("A serial the service refuses, then one with a notice"),
         .steps = {
             {.page = "ThankYouPage",
              .click = "UpdateAnotherButton",
              .answers = {serial("FAULT-SERVICE-ERROR"), {QStringLiteral("error"), Accept}}},
             {.page = "ThankYouPage",
              .click = "UpdateAnotherButton",
              .answers = {serial("HALV-NOTICE-0003"), {QStringLiteral("information"), Accept}}},
             {.page = "UpdateFirmwarePage"},
         }});

    // A new run: the wizard starts again on its first page. One of the maps chosen has a file
    // open in it, so the report shows a failure beside a success.
    routes.append({QStringLiteral("Uninstalling maps, one of them in use"),
                   [platform] {
                       platform->undeletableFolders = {QStringLiteral("HalvornTrails")};
                       Core::instance()->setCurrentPage(PageId::ChooseLanguagePage);
                   },
                   {
                       {.page = "ChooseLanguagePage", .click = languageButton},
                       {.page = "InstallUpdateUninstallPage", .click = "UninstallButton"},
                       // Removals wait, so that the page can be pictured at work.
                       {.page = "SelectProductsPage",
                        .before =
                            [platform] {
                                tickMaps({QStringLiteral("HalvornTrails"),
                                          QStringLiteral("HalvornTopoNordic")});
                                platform->holdRemovals();
                            }},
                       {.page = "SelectProductsPage", .click = "UninstallButton"},
                       {.page = "UninstallingPage",
                        .before =
                            [platform] {
                                platform->waitForHeldRemoval(10000);
                            }},
                       {.page = "UninstallingPage",
                        .picture = "removing",
                        .before =
                            [platform] {
                                platform->releaseRemovals();
                            }},
                       {.page = "ProductsUninstalledPage", .click = "NextButton"},
                       {.page = "ThankYouPage"},
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
             {.page = "ThankYouPage",
              .click = "UpdateAnotherButton",
              .answers = {serial("FAULT-DROP-ONCE")}},
             {.page = "UpdateFirmwarePage", .click = "NextButton"},
             {.page = "CloseGarminPage"},
             {.page = "NoPCUpdatesAvailablePage",
              .click = "ReinstallButton",
              .answers = {{QStringLiteral("dropped"), Accept}, {"transfer-to-gps", Decline}}},
             {.page = "DownloadMapPCPage",
              .moments = {{QStringLiteral("before-drop"), downloading.reached},
                          mapContinuedPast(QStringLiteral("continued"), 0.6),
                          mapPageSays(QStringLiteral("continued-verifying"),
                                      "Verifying downloaded map...")}},
             {.page = "InformNewPCVersionPage",
              .click = "NextButton",
              .picture = QStringLiteral("after-continued")},
             {.page = "MajorReleaseAvailablePage"},
             {.page = "DownloadGPSDataPage"},
             {.page = "ThankYouPage"},
         }});
    return routes;
}
