#include "app/Startup.h"

#include "app/Core.h"
#include "download/DownloadCache.h"
#include "download/PartialDownload.h"
#include "maps/InstalledMaps.h"

#include <QApplication>
#include <QFile>
#include <QStyleFactory>
#include <QStyleHints>

// The resources live in this static library; a reference from here keeps the linker from
// dropping them.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace Startup {

void setLoggingRule()
{
    qputenv("QT_LOGGING_RULES", "qt.network.ssl.warning=false");
}

void applyLook(QApplication &app)
{
    initResources();
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QGuiApplication::styleHints()->setColorScheme(Qt::ColorScheme::Light);
#endif
    // Before 6.8 there is no colour scheme to choose: fusion with our own light palette and
    // style sheet gives the same look.
    app.setStyle(QStyleFactory::create(QStringLiteral("fusion")));
    // Ties the window to the installed desktop entry, whose icon Wayland desktops show for it.
    QGuiApplication::setDesktopFileName(QStringLiteral(HALVORNSYNC_APP_ID));

    QFile styleSheet(QStringLiteral(":/styles/stylesheet.qss"));
    if (styleSheet.open(QIODevice::ReadOnly)) {
        app.setStyleSheet(QString::fromUtf8(styleSheet.readAll()));
        styleSheet.close();
    }
}

void removeStaleDownloads()
{
    PartialDownload::removeStale(DownloadCache::folder());
    const QString maps = Core::garminMapsFolder();
    if (!maps.isEmpty()) {
        PartialDownload::removeStale(InstalledMaps::downloadFolder(maps));
    }
}

} // namespace Startup
