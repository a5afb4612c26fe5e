#include "pages/card/InformNewSDVersionPage.h"

#include "app/CurrentProduct.h"
#include "app/PageLink.h"
#include "app/VersionReportStep.h"
#include "service/ProductInfo.h"

#include "ui_InformNewSDVersionPage.h"

#include <QTimer>

InformNewSDVersionPage::InformNewSDVersionPage(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::InformNewSDVersionPage>())
{
    ui->setupUi(this);
    const ProductInfo &product = currentProduct();
    // The name is the service's plain text, not markup, and may hold a "%2" of its own.
    ui->InfoLabel->setText(ui->InfoLabel->text().arg(product.productName.toHtmlEscaped(),
                                                     product.latestVersion.toString()));
    PageLink::goOnClick(ui->NextButton, PageId::ViewMapOnPCPage);
    ui->NextButton->setEnabled(false);
    QTimer::singleShot(0, this, &InformNewSDVersionPage::InformServer);
}

InformNewSDVersionPage::~InformNewSDVersionPage() = default;

void InformNewSDVersionPage::InformServer()
{
    VersionReportStep::sendSdVersion(currentProduct(), ui->NextButton);
}
