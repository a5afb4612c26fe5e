#include "pages/computer/ProductsUninstalledPage.h"

#include "app/Core.h"
#include "app/PageLink.h"

#include "ui_ProductsUninstalledPage.h"

ProductsUninstalledPage::ProductsUninstalledPage(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::ProductsUninstalledPage>())
{
    ui->setupUi(this);
    ui->HeaderLabel->setText(ui->HeaderLabel->text().arg(Core::computerWord()));
    // The uninstalling page leaves its result lines, HTML with the names escaped, in this list.
    ui->TextBrowser->setHtml(Core::instance()->mapsToUninstall().join(QStringLiteral("<br>")));
    ui->TextBrowser->setAccessibleName(ui->DetailsLabel->text());
    PageLink::goOnClick(ui->NextButton, PageId::ThankYouPage);
}

ProductsUninstalledPage::~ProductsUninstalledPage() = default;
