#include "pages/shared/GPSDataExtractedPage.h"

#include "app/Core.h"
#include "app/CurrentProduct.h"
#include "app/PageLink.h"
#include "app/WebLink.h"
#include "pages/shared/DownloadGPSDataPage.h"
#include "service/ProductInfo.h"

#include "ui_GPSDataExtractedPage.h"

#include <QFileInfo>

GPSDataExtractedPage::GPSDataExtractedPage(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::GPSDataExtractedPage>())
{
    ui->setupUi(this);
    const ProductInfo &product = currentProduct();
    // Names from the service are text, not markup, and are filled in together so that a "%2" in
    // one of them stays as it is.
    ui->InfoLabel->setText(ui->InfoLabel->text().arg(
        product.additionalGpsDataName.toHtmlEscaped(), Core::computerWord(),
        QFileInfo(DownloadGPSDataPage::dataFolder()).fileName().toHtmlEscaped()));
    WebLink::openOnClick(ui->HowToImportButton, product.additionalGpsDataInstructions);
    PageLink::goOnClick(ui->NextButton, PageId::ThankYouPage);
}

GPSDataExtractedPage::~GPSDataExtractedPage() = default;
