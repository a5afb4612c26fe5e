#include "pages/card/SDUpdatesAvailablePage.h"

#include "app/ButtonTextFitter.h"
#include "app/CurrentProduct.h"
#include "app/PageLink.h"
#include "app/WebLink.h"
#include "pages/shared/VersionLines.h"
#include "service/ProductInfo.h"

#include "ui_SDUpdatesAvailablePage.h"

SDUpdatesAvailablePage::SDUpdatesAvailablePage(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::SDUpdatesAvailablePage>())
{
    ui->setupUi(this);
    const ProductInfo &product = currentProduct();
    // The card's version is the one the service has on record, not read from the card.
    fillVersionLines(ui->InfoLabel, product.sdVersion.toString(), product.latestVersion);
    WebLink::openOnClick(ui->WhatsChangedButton, product.changelogUrl);
    ButtonTextFitter::attach(ui->SkipButton);
    ButtonTextFitter::attach(ui->UpdateNowButton);
    PageLink::goOnClick(ui->SkipButton, PageId::EjectSDPage);
    PageLink::goOnClick(ui->UpdateNowButton, PageId::DownloadMapSDPage);
}

SDUpdatesAvailablePage::~SDUpdatesAvailablePage() = default;
