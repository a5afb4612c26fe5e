#include "pages/card/NoSDUpdatesAvailablePage.h"

#include "app/ButtonTextFitter.h"
#include "app/Core.h"
#include "app/CurrentProduct.h"
#include "app/PageLink.h"
#include "app/Pictures.h"
#include "maps/CardImage.h"
#include "pages/shared/VersionLines.h"
#include "service/ProductInfo.h"

#include "ui_NoSDUpdatesAvailablePage.h"

#include <QFileInfo>

namespace {
// Without a chosen drive there is no card to look at: the root of the file system is not one.
bool cardCarriesMap()
{
    const QString drive = Core::instance()->cardDrive();
    return !drive.isEmpty() && QFileInfo(CardImage::path(drive)).isFile();
}
} // namespace

NoSDUpdatesAvailablePage::NoSDUpdatesAvailablePage(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::NoSDUpdatesAvailablePage>())
{
    ui->setupUi(this);
    const ProductInfo &product = currentProduct();
    if (cardCarriesMap()) {
        ui->PictureLabel->setPixmap(
            renderPicture(QStringLiteral(":/images/image-version-up-to-date.svg"), {230, 164}));
        fillVersionLines(ui->InfoLabel, product.sdVersion.toString(), product.latestVersion);
    } else {
        ui->PictureLabel->setPixmap(
            renderPicture(QStringLiteral(":/images/attention.svg"), {100, 86}));
        ui->InfoLabelTop->setText(tr("No map was found\non your preprogrammed card."));
        ui->InfoLabel->setText(tr("<html><head/><body><p>Available version: <span style=\" "
                                  "font-weight:600;\">%1</span></p></body></html>")
                                   .arg(product.latestVersion.toString()));
        ui->ReinstallButton->setText(tr("INSTALL MAP"));
        ui->NextButton->hide();
    }
    ButtonTextFitter::attach(ui->ReinstallButton);
    ButtonTextFitter::attach(ui->NextButton);
    PageLink::goOnClick(ui->ReinstallButton, PageId::DownloadMapSDPage);
    PageLink::goOnClick(ui->NextButton, PageId::EjectSDPage);
}

NoSDUpdatesAvailablePage::~NoSDUpdatesAvailablePage() = default;
