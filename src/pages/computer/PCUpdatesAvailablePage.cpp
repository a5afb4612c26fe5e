#include "pages/computer/PCUpdatesAvailablePage.h"

#include "app/ButtonTextFitter.h"
#include "app/Core.h"
#include "app/CurrentProduct.h"
#include "app/PageLink.h"
#include "app/WebLink.h"
#include "pages/computer/InstalledPcVersion.h"
#include "service/ProductInfo.h"

#include "ui_PCUpdatesAvailablePage.h"

PCUpdatesAvailablePage::PCUpdatesAvailablePage(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::PCUpdatesAvailablePage>())
{
    ui->setupUi(this);
    const ProductInfo &product = currentProduct();
    ui->InfoLabel->setText(ui->InfoLabel->text().arg(
        Core::computerWord(), InstalledPcVersion::text(), product.latestVersion.toString()));
    WebLink::openOnClick(ui->WhatsChangedButton, product.changelogUrl);
    ButtonTextFitter::attach(ui->SkipButton);
    ButtonTextFitter::attach(ui->UpdateNowButton);
    PageLink::goOnClick(ui->SkipButton, PageId::MajorReleaseAvailablePage);
    PageLink::goOnClick(ui->UpdateNowButton, PageId::DownloadMapPCPage);
}

PCUpdatesAvailablePage::~PCUpdatesAvailablePage() = default;
