#include "pages/shared/MajorReleaseAvailablePage.h"

#include "app/ButtonTextFitter.h"
#include "app/Core.h"
#include "app/CurrentProduct.h"
#include "app/PopupDialog.h"
#include "app/WebLink.h"
#include "service/ProductInfo.h"

#include "ui_MajorReleaseAvailablePage.h"

#include <QTimer>

MajorReleaseAvailablePage::MajorReleaseAvailablePage(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::MajorReleaseAvailablePage>())
{
    ui->setupUi(this);
    // The page is painted empty first; whether there is an offer to show is decided afterwards.
    setOfferVisible(false);
    const ProductInfo &product = currentProduct();
    WebLink::openOnClick(ui->WhatsChangedButton, product.changelogUrl);
    WebLink::openOnClick(ui->LearMoreButton, product.majorProductReleaseUrl);
    ButtonTextFitter::attach(ui->SkipButton);
    ButtonTextFitter::attach(ui->LearMoreButton);
    connect(ui->SkipButton, &QPushButton::clicked, this,
            &MajorReleaseAvailablePage::onSkipButtonClicked);
    QTimer::singleShot(50, this, &MajorReleaseAvailablePage::Initialization);
}

MajorReleaseAvailablePage::~MajorReleaseAvailablePage() = default;

void MajorReleaseAvailablePage::Initialization()
{
    const ProductInfo &product = currentProduct();
    if (!product.majorProductReleaseAvailable) {
        onSkipButtonClicked();
        return;
    }
    // The product's current major version against the one on sale.
    ui->InfoLabel->setText(ui->InfoLabel->text()
                               .arg(product.latestVersion.majorVersion())
                               .arg(product.majorProductReleaseVersion));
    setOfferVisible(true);
}

void MajorReleaseAvailablePage::onSkipButtonClicked()
{
    setOfferVisible(false);
    if (!currentProduct().isPcFormat) {
        Core::instance()->setCurrentPage(PageId::DownloadGPSDataPage);
        return;
    }
    const std::optional<bool> transfer = PopupDialog::ask(
        this, tr("Transfer To GPS"),
        tr("Would you like to transfer your map(s) now to your GPS using Garmin MapInstall? You "
           "can always do so later."),
        tr("SKIP"), tr("YES"));
    if (!transfer) {
        return;
    }
    Core::instance()->setCurrentPage(*transfer ? PageId::TransferToGPS2Page
                                               : PageId::DownloadGPSDataPage);
}

void MajorReleaseAvailablePage::setOfferVisible(bool visible)
{
    const QList<QWidget *> offer{ui->HeaderLabel, ui->InfoLabel, ui->LearMoreButton, ui->SkipButton,
                                 ui->WhatsChangedButton};
    for (QWidget *widget : offer) {
        widget->setVisible(visible);
    }
}
