#pragma once

#include "app/PageId.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QStringView>
#include <QVersionNumber>

#include <functional>
#include <memory>

class QNetworkAccessManager;
class PopupDialog;
class ProductInfo;

// The wizard's shared state and the services every page uses. Exactly one instance exists,
// created by the first call of instance() and kept until the process ends. Pages never talk to
// each other: they read and write Core and ask it for the next page.
class Core : public QObject
{
    Q_OBJECT

public:
    using PageFactory = std::function<QWidget *(PageId)>;

    static Core *instance();

    void setCurrentPage(PageId id);
    PageId currentPage() const;

    ProductInfo *productInfo() const;
    void setProductInfo(ProductInfo *info);

    QString productSerial() const;
    void setProductSerial(const QString &serial);

    QNetworkAccessManager *networkManager() const;

    static QString languageCode();
    static QStringView computerWord();
    // The current user's roaming Garmin maps folder, the one Garmin's programs read: on Linux
    // with Wine, the one of the Wine prefix's Windows user, even before Wine has made the prefix.
    // Decided once per run, so discovery, install, recovery, uninstall and hand-off all work on
    // the folder the installed maps were found in, even when a Wine prefix appears meanwhile.
    static QString garminMapsFolder();
    // Decides the folder for the run: the language page does it before the installed maps are
    // listed. Until then, garminMapsFolder() decides on its first call.
    void decideGarminMapsFolder();
    static QWidget *mainWindow();

    void preventSleep();
    void allowSleep();

    QStringList installedMapFolders() const;
    void refreshInstalledMapFolders();
    static QStringList findInfoFiles(const QString &folder);
    static QStringList installedMapInfoFiles();
    static int readMapId(const QString &infoXmlPath);
    static QVersionNumber readMapVersion(const QString &infoXmlPath);
    QStringList mapsToUninstall() const;
    void setMapsToUninstall(const QStringList &folders);

    QString cardDrive() const;
    void setCardDrive(const QString &rootPath);

    QString baseCampPath() const;
    QString mapInstallPath() const;
    bool checkBaseCamp();

    int cardIndex() const;
    void setCardIndex(int index);

    bool cardUpdated() const;
    void setCardUpdated(bool updated);

    static QString formatDuration(double seconds);

    // Tests build their own pages for an id; the program always uses the real page factory.
    void setPageFactory(PageFactory factory);

Q_SIGNALS:
    void currentPageChanged(QWidget *_newCurrentPage);

public Q_SLOTS:
    // One of the program's own messages, which may carry markup.
    void showError(QString text) const;
    // A text from outside (the service's "Error:" text, the network's error string), shown as it
    // is, never taken as markup.
    void showPlainError(const QString &text) const;
    // The error pop-up of a page that acts once it is closed: true when `asker` still exists then.
    // The pop-up runs its own event loop, in which the page may have been replaced.
    bool showErrorFor(QObject *asker, const QString &text) const;
    void showNeedHelp(QWidget *widget) const;

private:
    Core();
    ~Core() override;
    void preconnectToService();
    static QString locateGarminMapsFolder();
    static bool showErrorPopup(QObject *asker, const QString &text,
                               void (PopupDialog::*setBody)(const QString &));

    struct Private;
    std::unique_ptr<Private> d;
};
