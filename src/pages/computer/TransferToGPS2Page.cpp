#include "pages/computer/TransferToGPS2Page.h"

#include "app/ButtonTextFitter.h"
#include "app/Core.h"
#include "app/PageLink.h"
#include "app/Pictures.h"

#include "ui_TransferToGPS2Page.h"

#include <QLabel>

TransferToGPS2Page::TransferToGPS2Page(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TransferToGPS2Page>())
{
    ui->setupUi(this);
    ButtonTextFitter::attach(ui->SkipButton);
    ButtonTextFitter::attach(ui->NextButton);
    connect(ui->NeedHelpButton, &QPushButton::clicked, this, [this] {
        Core::instance()->showNeedHelp(
            helpPictureLabel(QStringLiteral(":/images/image-needhelp-insert-sd.png"), this));
    });
    PageLink::goOnClick(ui->SkipButton, PageId::DownloadGPSDataPage);
    PageLink::goOnClick(ui->NextButton, PageId::TransferToGPS3Page);
}

TransferToGPS2Page::~TransferToGPS2Page() = default;
