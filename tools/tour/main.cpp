// halvornsync-tour --out DIR [--lang en|fr]
//
// Walks every route of the wizard by clicking its buttons and saves a picture of each page and
// pop-up, plus index.html, into DIR. Needs no display: it draws off screen unless QT_QPA_PLATFORM
// says otherwise. The program runs in a home of its own with sample installed maps and a fake
// BaseCamp, against the stand-in vendor service started for the tour.

#include "FakePlatform.h"
#include "Photographer.h"
#include "RouteWalker.h"
#include "TestSandbox.h"
#include "TourRoute.h"
#include "TourService.h"
#include "app/Core.h"
#include "app/MainWindow.h"
#include "app/Startup.h"
#include "download/FileDownload.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <cstring>

namespace {
// Long enough for any page's own work (a stalled download is given up after 9 s); only a wizard
// that went astray waits this long.
const int kPageTimeoutMs = 30000;

int usage()
{
    std::fprintf(stderr, "usage: halvornsync-tour --out DIR [--lang en|fr]\n");
    return 2;
}
} // namespace

int main(int argc, char *argv[])
{
    QString out;
    QString language = QStringLiteral("en");
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
            out = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--lang") == 0 && i + 1 < argc) {
            language = QString::fromLocal8Bit(argv[++i]);
        } else {
            return usage();
        }
    }
    if (out.isEmpty() || (language != QLatin1String("en") && language != QLatin1String("fr"))) {
        return usage();
    }

    TestSandbox sandbox(QStringLiteral("halvornsync-tour"));
    if (!sandbox.isValid()) {
        std::fprintf(stderr, "halvornsync-tour: cannot make a temporary home\n");
        return 1;
    }
    Startup::setLoggingRule();
    QApplication app(argc, argv);
    Startup::applyLook(app);

    TourService service;
    if (!service.start(QDir::homePath() + QStringLiteral("/vendor-service"))) {
        std::fprintf(stderr, "halvornsync-tour: %s\n", qPrintable(service.errorString()));
        return 1;
    }
    qputenv("HALVORNSYNC_SERVICE_URL", service.baseUrl().toString().toUtf8());
    // Reads and writes take their time, as on a card, so that work in progress can be pictured.
    FakePlatform platform;
    platform.mediumDelayMs = 150;
    platform.destinations().writeDelayMs = 150;
    platform.oneReader = true;
    // A card is known by its folder's name, as its safety copy's file name shows.
    for (const QString &card : {QStringLiteral("card"), QStringLiteral("card2")}) {
        platform.volumeIds.insert(QDir::homePath() + QLatin1Char('/') + card, card);
    }
    Core::instance();
    // A stalled download is given up after 9 seconds rather than a minute: long enough to show
    // "stalled" from the seventh.
    FileDownload::setTiming({1000, 9000, 30000});

    QDir outDir(out);
    if (!outDir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "halvornsync-tour: cannot create %s\n", qPrintable(out));
        return 1;
    }
    for (const QString &old : outDir.entryList({QStringLiteral("*.png")}, QDir::Files)) {
        outDir.remove(old);
    }
    // Installed vendor maps make the wizard offer the install-or-uninstall choice.
    if (!TestSandbox::addInstalledMap(QStringLiteral("HalvornTopoNordic"), 4100,
                                      QStringLiteral("Halvorn Topo Nordic 24.1")) ||
        !TestSandbox::addInstalledMap(QStringLiteral("HalvornTrails"), 4300,
                                      QStringLiteral("Halvorn Trails 2023.10"))) {
        std::fprintf(stderr, "halvornsync-tour: cannot install the sample maps\n");
        return 1;
    }

    MainWindow window;
    window.move(40, 40);
    window.show();
    Photographer photographer(&window, outDir);
    RouteWalker walker(&window, kPageTimeoutMs);
    walker.onPageReached = [&photographer](const RouteStep &step) {
        photographer.expect(step.answers);
        photographer.follow(step.moments);
    };
    walker.onBeforeClick = [&photographer](const RouteStep &step, QWidget *page) {
        // A picture shows what a page offers once it is ready to be clicked.
        if (!step.click.isEmpty()) {
            photographer.rephotograph(page);
        }
        if (!step.picture.isEmpty()) {
            photographer.photographVariant(page, step.picture);
        }
    };

    const QString languageButton = language == QLatin1String("fr")
                                       ? QStringLiteral("FrenchButton")
                                       : QStringLiteral("EnglishButton");
    int failures = 0;
    for (const TourRoute &route : tourRoutes(languageButton, &platform)) {
        photographer.beginRoute(route.title);
        if (route.prepare) {
            route.prepare();
        }
        QString error = walker.walk(route.steps);
        if (error.isEmpty() && photographer.pendingAnswers() != 0) {
            error = QStringLiteral("%1 pop-up(s) the route expected never opened")
                        .arg(photographer.pendingAnswers());
        }
        if (!error.isEmpty()) {
            ++failures;
            std::fprintf(stderr, "halvornsync-tour: %s: %s\n", qPrintable(route.title),
                         qPrintable(error));
        }
    }
    for (const QString &problem : photographer.problems()) {
        ++failures;
        std::fprintf(stderr, "halvornsync-tour: %s\n", qPrintable(problem));
    }
    if (!photographer.writeIndex(language)) {
        std::fprintf(stderr, "halvornsync-tour: cannot write %s\n",
                     qPrintable(outDir.filePath(QStringLiteral("index.html"))));
        return 1;
    }
    std::printf("halvornsync-tour: pictures in %s\n",
                qPrintable(QDir::toNativeSeparators(
                    outDir.absoluteFilePath(QStringLiteral("index.html")))));
    return failures == 0 ? 0 : 1;
}
