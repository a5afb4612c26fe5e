#include "pages/opening/HighSpeedConnectionRequiredPage.h"

#include "app/Pictures.h"
#include "app/ProductInfoStep.h"

#include "ui_HighSpeedConnectionRequiredPage.h"

HighSpeedConnectionRequiredPage::HighSpeedConnectionRequiredPage(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::HighSpeedConnectionRequiredPage>())
{
    ui->setupUi(this);
    ui->PictureLabel->setPixmap(
        renderPicture(QStringLiteral(":/images/image-speed-connection.svg"), {230, 164}));
    ui->WarningLabel->setPixmap(renderPicture(QStringLiteral(":/images/attention.svg"), {50, 43}));
    connect(ui->NextButton, &QPushButton::clicked, this, [this] { ProductInfoStep::start(this); });
}

HighSpeedConnectionRequiredPage::~HighSpeedConnectionRequiredPage() = default;
