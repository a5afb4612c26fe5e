#include "pages/opening/InstallUpdateUninstallPage.h"

#include "app/ButtonTextFitter.h"
#include "app/Core.h"
#include "app/Pictures.h"

#include "ui_InstallUpdateUninstallPage.h"

InstallUpdateUninstallPage::InstallUpdateUninstallPage(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::InstallUpdateUninstallPage>())
{
    ui->setupUi(this);
    ui->PictureLabel->setPixmap(
        renderPicture(QStringLiteral(":/images/install-uninstall-maps.svg"), {230, 164}));
    ui->InfoLabel->setText(ui->InfoLabel->text().arg(Core::computerWord()));
    // The French "install or update" is longer than the room beside UNINSTALL.
    ButtonTextFitter::attach(ui->InstallUpdateButton);
    ButtonTextFitter::attach(ui->UninstallButton);
    connect(ui->InstallUpdateButton, &QPushButton::clicked, this,
            &InstallUpdateUninstallPage::onButtonClicked);
    connect(ui->UninstallButton, &QPushButton::clicked, this,
            &InstallUpdateUninstallPage::onButtonClicked);
}

InstallUpdateUninstallPage::~InstallUpdateUninstallPage() = default;

void InstallUpdateUninstallPage::onButtonClicked()
{
    Core::instance()->setCurrentPage(sender() == ui->InstallUpdateButton
                                         ? PageId::HighSpeedConnectionRequiredPage
                                         : PageId::SelectProductsPage);
}
