#include "pages/card/EjectSDPage.h"

#include "app/Core.h"
#include "app/CurrentProduct.h"
#include "app/Pictures.h"
#include "platform/platform.h"
#include "service/ProductInfo.h"

#include "ui_EjectSDPage.h"

EjectSDPage::EjectSDPage(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::EjectSDPage>())
{
    ui->setupUi(this);
    ui->PictureLabel->setPixmap(
        renderPicture(QStringLiteral(":/images/image-eject-sd.svg"), {230, 164}));
    QFont font = ui->InfoLabel->font();
    font.setWeight(QFont::Bold);
    ui->InfoLabel->setFont(font);
    font.setWeight(QFont::Normal);
    font.setPixelSize(12);
    ui->StaticLabel->setFont(font);

    connect(&ejectPollTimer, &QTimer::timeout, this, &EjectSDPage::onDrivePollTimerTimeout);
    ejectPollTimer.setInterval(pollIntervalMs);
    ejectPollTimer.start();
}

EjectSDPage::~EjectSDPage() = default;

void EjectSDPage::onDrivePollTimerTimeout()
{
    Core *core = Core::instance();
    const std::optional<Platform::Volume> card =
        Platform::instance()->mountedVolume(core->cardDrive());
    if (card && card->valid && card->ready) {
        return;
    }
    ejectPollTimer.stop();
    core->setCardIndex(core->cardIndex() + 1);
    if (core->cardIndex() < currentProduct().sdSubProducts.size()) {
        core->setCurrentPage(PageId::InsertSDPage);
    } else {
        core->setCurrentPage(core->cardUpdated() ? PageId::InformNewSDVersionPage
                                                 : PageId::ViewMapOnPCPage);
    }
}
