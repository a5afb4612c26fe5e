#include "pages/computer/CloseGarminPage.h"

#include "app/Core.h"
#include "app/PopupDialog.h"
#include "maps/InstalledMaps.h"
#include "pages/computer/InstalledPcVersion.h"
#include "platform/platform.h"
#include "service/ProductInfo.h"

#include "ui_CloseGarminPage.h"

#include <QMovie>
#include <QTimer>

CloseGarminPage::CloseGarminPage(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::CloseGarminPage>())
    , m_movie(new QMovie(this))
{
    ui->setupUi(this);
    ui->MovieLabel->hide();
    m_movie->setFileName(QStringLiteral(":/images/loader.gif"));
    ui->MovieLabel->setMovie(m_movie);
    m_movie->start();
    QTimer::singleShot(50, this, &CloseGarminPage::Initialization);
}

CloseGarminPage::~CloseGarminPage() = default;

void CloseGarminPage::Initialization()
{
    // BaseCamp is closed first, or it could write its own settings back over "Detail" as it
    // ends. Both steps run without freezing the window, each up to its time limits.
    Platform::instance()->closeBaseCamp(this, [this] {
        Platform::instance()->writeBaseCampDetail(this, [this] { continueAfterBaseCamp(); });
    });
}

void CloseGarminPage::continueAfterBaseCamp()
{
    Core *core = Core::instance();
    // Without a product record there is nothing to recognise an installed copy by; this is
    // read as a card product with no computer map, rather than a crash.
    const ProductInfo noProduct;
    const ProductInfo &product = core->productInfo() ? *core->productInfo() : noProduct;

    if (!product.isPcFormat) {
        PopupDialog dialog;
        dialog.setHeader(tr("Install Map on %1?").arg(Core::computerWord()));
        dialog.setText(tr("Would you like to install the map on your %1 without having to insert "
                          "the preprogrammed card every time?")
                           .arg(Core::computerWord()));
        dialog.setLeftButtonText(tr("NO"));
        dialog.setRightButtonText(tr("YES"));
        dialog.showDurationWarning();
        const std::optional<bool> install = dialog.answerFor(this);
        if (!install) {
            return;
        }
        if (!*install) {
            core->setCurrentPage(PageId::MajorReleaseAvailablePage);
            return;
        }
    }

    if (!lookUpInstalledVersion()) {
        return;
    }

    const QVersionNumber installed = QVersionNumber::fromString(InstalledPcVersion::text());
    core->setCurrentPage(InstalledMaps::isOutOfDate(installed, product.latestVersion)
                             ? PageId::PCUpdatesAvailablePage
                             : PageId::NoPCUpdatesAvailablePage);
}

bool CloseGarminPage::lookUpInstalledVersion()
{
    Core *core = Core::instance();
    const QList<qint32> fids =
        core->productInfo() ? core->productInfo()->pcSubProduct.fids : QList<qint32>();
    QString installedCopy;
    const QStringList infoFiles = Core::installedMapInfoFiles();
    for (const QString &path : infoFiles) {
        const int id = Core::readMapId(path);
        if (id != -1 && fids.contains(id)) {
            installedCopy = path;
            break;
        }
    }
    if (installedCopy.isEmpty()) {
        core->setCurrentPage(PageId::DownloadMapPCPage);
        return false;
    }
    InstalledPcVersion::publish(Core::readMapVersion(installedCopy));
    return true;
}
