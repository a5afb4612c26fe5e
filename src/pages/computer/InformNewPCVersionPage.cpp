#include "pages/computer/InformNewPCVersionPage.h"

#include "app/Core.h"
#include "app/CurrentProduct.h"
#include "app/PageLink.h"
#include "service/ProductInfo.h"

#include "ui_InformNewPCVersionPage.h"

InformNewPCVersionPage::InformNewPCVersionPage(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::InformNewPCVersionPage>())
{
    ui->setupUi(this);
    const ProductInfo &product = currentProduct();
    // The name is the service's plain text: escaped, so a "<" or "&" in it is shown, not read
    // as markup; and filled in together with the rest, so a "%2" in it stays as it is.
    ui->InfoLabel->setText(ui->InfoLabel->text().arg(product.productName.toHtmlEscaped(),
                                                     Core::computerWord(),
                                                     product.latestVersion.toString()));
    PageLink::goOnClick(ui->NextButton, PageId::MajorReleaseAvailablePage);
}

InformNewPCVersionPage::~InformNewPCVersionPage() = default;
