#include "app/Core.h"

#include "app/LoggedNetworkAccessManager.h"
#include "app/NeedHelpDialog.h"
#include "app/PageFactory.h"
#include "app/PopupDialog.h"
#include "app/SupportLog.h"
#include "maps/GarminApplications.h"
#include "maps/InstalledMaps.h"
#include "maps/MapInfoFile.h"
#include "platform/platform.h"
#include "service/ProductInfo.h"
#include "service/ServiceAddress.h"
#include "service/ServiceContext.h"

#include <QApplication>
#include <QDir>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QSslConfiguration>
#include <QStandardPaths>

#include <cmath>
#include <optional>

struct Core::Private
{
    QStringList installedMapFolders;
    QStringList mapsToUninstall;
    std::unique_ptr<ProductInfo> productInfo;
    QString productSerial;
    PageId currentPage = PageId::ChooseLanguagePage;
    QString cardDrive;
    GarminApplications garminApplications;
    qint32 cardIndex = 0;
    bool cardUpdated = false;
    PageFactory pageFactory = &createPage;
    std::optional<QString> garminMapsFolder;
};

namespace {
Core *s_instance = nullptr;

// Half-way values go away from zero, as the duration texts expect.
qint64 roundHalfAway(double value)
{
    return qint64(value < 0.0 ? value - 0.5 : value + 0.5);
}
} // namespace

Core::Core()
    : d(std::make_unique<Private>())
{
}

// Core lives until the process ends; it is never deleted.
Core::~Core() = default;

Core *Core::instance()
{
    if (s_instance) {
        return s_instance;
    }
    auto *core = new Core;
    // The computer's own proxy settings (on Linux the http_proxy, https_proxy and no_proxy
    // variables), for the service and the downloads alike: behind a company's or a hotel's proxy
    // nothing else gets through.
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    ServiceContext::setNetworkManager(new LoggedNetworkAccessManager(QCoreApplication::instance()));
    core->preconnectToService();
    core->setObjectName(QStringLiteral("Core"));
    s_instance = core;
    return core;
}

void Core::preconnectToService()
{
    // Only warms the connection cache: nothing waits for it and a failure goes unreported.
    // Plain http is loopback development, where there is nothing to warm.
    const QUrl base = serviceBaseUrl();
    if (base.scheme() != QLatin1String("https") || base.host().isEmpty()) {
        return;
    }
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setProtocol(QSsl::SecureProtocols);
    networkManager()->connectToHostEncrypted(base.host(), quint16(base.port(443)), configuration);
}

void Core::setCurrentPage(PageId id)
{
    d->currentPage = id;
    SupportLog::write(QStringLiteral("page: ") + pageClassName(id));
    QWidget *page = d->pageFactory(id);
    Q_EMIT currentPageChanged(page);
}

PageId Core::currentPage() const
{
    return d->currentPage;
}

void Core::setPageFactory(PageFactory factory)
{
    d->pageFactory = factory ? std::move(factory) : PageFactory(&createPage);
}

ProductInfo *Core::productInfo() const
{
    return d->productInfo.get();
}

void Core::setProductInfo(ProductInfo *info)
{
    if (info == d->productInfo.get()) {
        return;
    }
    d->productInfo.reset(info);
}

QString Core::productSerial() const
{
    return d->productSerial;
}

void Core::setProductSerial(const QString &serial)
{
    d->productSerial = serial;
}

QNetworkAccessManager *Core::networkManager() const
{
    return ServiceContext::networkManager();
}

QString Core::languageCode()
{
    return ServiceContext::languageCode();
}

QStringView Core::computerWord()
{
    return u"PC";
}

QString Core::garminMapsFolder()
{
    Core *core = instance();
    if (!core->d->garminMapsFolder) {
        core->decideGarminMapsFolder();
    }
    return *core->d->garminMapsFolder;
}

void Core::decideGarminMapsFolder()
{
    d->garminMapsFolder = locateGarminMapsFolder();
}

QString Core::locateGarminMapsFolder()
{
    const QString windowsData = Platform::instance()->windowsProgramsDataFolder();
    if (!windowsData.isEmpty()) {
        return windowsData + QStringLiteral("/Garmin/Maps");
    }
    // Only the final component names the application; a home folder whose name happens to
    // contain the program's name must stay intact.
    const QString appData = QDir::fromNativeSeparators(
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    const QString appName = QCoreApplication::applicationName();
    const qsizetype slash = appData.lastIndexOf(QLatin1Char('/'));
    if (appName.isEmpty() || slash < 0 ||
        QStringView(appData).mid(slash + 1).compare(appName, Qt::CaseInsensitive) != 0) {
        return appData;
    }
    return appData.left(slash + 1) + QStringLiteral("Garmin/Maps");
}

QWidget *Core::mainWindow()
{
    const QWidgetList widgets = QApplication::topLevelWidgets();
    for (QWidget *widget : widgets) {
        if (widget->isWindow() && widget->isVisible() &&
            widget->objectName() == QLatin1String("MainWindow")) {
            return widget;
        }
    }
    return nullptr;
}

void Core::preventSleep()
{
    Platform::instance()->preventSleep();
}

void Core::allowSleep()
{
    Platform::instance()->allowSleep();
}

QStringList Core::installedMapFolders() const
{
    return d->installedMapFolders;
}

void Core::refreshInstalledMapFolders()
{
    d->installedMapFolders = InstalledMaps::vendorMapFolders(garminMapsFolder());
}

QStringList Core::findInfoFiles(const QString &folder)
{
    return InstalledMaps::findInfoFiles(folder);
}

QStringList Core::installedMapInfoFiles()
{
    return InstalledMaps::installedInfoFiles(garminMapsFolder());
}

int Core::readMapId(const QString &infoXmlPath)
{
    return MapInfoFile::readId(infoXmlPath);
}

QVersionNumber Core::readMapVersion(const QString &infoXmlPath)
{
    return MapInfoFile::readVersion(infoXmlPath);
}

QStringList Core::mapsToUninstall() const
{
    return d->mapsToUninstall;
}

void Core::setMapsToUninstall(const QStringList &folders)
{
    d->mapsToUninstall = folders;
}

QString Core::cardDrive() const
{
    return d->cardDrive;
}

void Core::setCardDrive(const QString &rootPath)
{
    d->cardDrive = rootPath;
}

QString Core::baseCampPath() const
{
    return d->garminApplications.baseCampPath();
}

QString Core::mapInstallPath() const
{
    return d->garminApplications.mapInstallPath();
}

bool Core::checkBaseCamp()
{
    return d->garminApplications.checkBaseCamp();
}

int Core::cardIndex() const
{
    return d->cardIndex;
}

void Core::setCardIndex(int index)
{
    d->cardIndex = index;
}

bool Core::cardUpdated() const
{
    return d->cardUpdated;
}

void Core::setCardUpdated(bool updated)
{
    d->cardUpdated = updated;
}

QString Core::formatDuration(double seconds)
{
    Q_ASSERT(std::isfinite(seconds));
    // The bounds test the unrounded values while the shown numbers are rounded, so 59.6 s
    // reads "60 sec" and 3575 s reads "60 min".
    if (seconds < 60.0) {
        return tr("%1 sec").arg(roundHalfAway(seconds));
    }
    const double minutes = seconds / 60.0;
    const qint64 roundedMinutes = roundHalfAway(minutes);
    if (minutes >= 1.0 && minutes < 60.0) {
        return tr("%1 min").arg(roundedMinutes);
    }
    // Hours and minutes both come from the rounded minutes: 7170 s is 2 hrs 0 min, not 1 hrs 0.
    return tr("%1 hrs %2 min").arg(roundedMinutes / 60).arg(roundedMinutes % 60);
}

void Core::showError(QString text) const
{
    showErrorPopup(QCoreApplication::instance(), text, &PopupDialog::setText);
}

void Core::showPlainError(const QString &text) const
{
    showErrorPopup(QCoreApplication::instance(), text, &PopupDialog::setPlainText);
}

bool Core::showErrorFor(QObject *asker, const QString &text) const
{
    return showErrorPopup(asker, text, &PopupDialog::setText);
}

bool Core::showErrorPopup(QObject *asker, const QString &text,
                          void (PopupDialog::*setBody)(const QString &))
{
    PopupDialog dialog;
    dialog.setHeader(tr("Error"));
    dialog.setLeftButtonText(QString());
    dialog.setRightButtonText(tr("≺ BACK"));
    (dialog.*setBody)(text);
    return dialog.answerFor(asker).has_value();
}

void Core::showNeedHelp(QWidget *widget) const
{
    if (!widget) {
        return;
    }
    NeedHelpDialog dialog;
    dialog.setContentWidget(widget);
    dialog.exec();
}
