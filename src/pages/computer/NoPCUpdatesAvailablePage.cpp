#include "pages/computer/NoPCUpdatesAvailablePage.h"

#include "app/ButtonTextFitter.h"
#include "app/Core.h"
#include "app/CurrentProduct.h"
#include "app/PageLink.h"
#include "app/Pictures.h"
#include "pages/computer/InstalledPcVersion.h"
#include "pages/shared/VersionLines.h"
#include "service/ProductInfo.h"

#include "ui_NoPCUpdatesAvailablePage.h"

NoPCUpdatesAvailablePage::NoPCUpdatesAvailablePage(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::NoPCUpdatesAvailablePage>())
{
    ui->setupUi(this);
    ui->PictureLabel->setPixmap(
        renderPicture(QStringLiteral(":/images/image-version-up-to-date.svg"), {230, 164}));
    ui->InfoLabelTop->setText(ui->InfoLabelTop->text().arg(Core::computerWord()));
    fillVersionLines(ui->InfoLabel, InstalledPcVersion::text(), currentProduct().latestVersion);
    // "RÉINSTALLER LA CARTE" is wider than its half of the row.
    ButtonTextFitter::attach(ui->ReinstallButton);
    ButtonTextFitter::attach(ui->NextButton);
    PageLink::goOnClick(ui->ReinstallButton, PageId::DownloadMapPCPage);
    PageLink::goOnClick(ui->NextButton, PageId::MajorReleaseAvailablePage);
}

NoPCUpdatesAvailablePage::~NoPCUpdatesAvailablePage() = default;
