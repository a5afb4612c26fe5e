#include "pages/shared/UpdateFirmwarePage.h"

#include "app/CurrentProduct.h"
#include "app/Pictures.h"
#include "app/WebLink.h"
#include "pages/card/CardRoute.h"
#include "pages/computer/BaseCampGate.h"
#include "service/ProductInfo.h"

#include "ui_UpdateFirmwarePage.h"

UpdateFirmwarePage::UpdateFirmwarePage(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::UpdateFirmwarePage>())
{
    ui->setupUi(this);
    ui->WarningLabel->setPixmap(renderPicture(QStringLiteral(":/images/attention.svg"), {50, 43}));
    WebLink::openOnClick(ui->UpdateFirmwareButton, currentProduct().updateGpsFirmwareUrl);
    connect(ui->NextButton, &QPushButton::clicked, this, &UpdateFirmwarePage::onNextButtonClicked);
}

UpdateFirmwarePage::~UpdateFirmwarePage() = default;

void UpdateFirmwarePage::onNextButtonClicked()
{
    if (currentProduct().isPcFormat) {
        BaseCampGate::enter(this);
    } else {
        CardRoute::begin();
    }
}
