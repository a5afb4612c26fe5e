#include "pages/shared/ThankYouPage.h"

#include "app/Core.h"
#include "app/ProductInfoStep.h"
#include "platform/platform.h"
#include "service/ServiceAddress.h"

#include "ui_ThankYouPage.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

ThankYouPage::ThankYouPage(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::ThankYouPage>())
{
    ui->setupUi(this);
    // Decided once: a successful check is also what gives the button a path to start.
    ui->GarminBaseCampButton->setVisible(Core::instance()->checkBaseCamp());
    connect(ui->GarminBaseCampButton, &QPushButton::clicked, this,
            [] { Platform::instance()->startDetached(Core::instance()->baseCampPath()); });
    connect(ui->LearningCenterButton, &QPushButton::clicked, this,
            &ThankYouPage::onLearningCenterButtonClicked);
    connect(ui->UpdateAnotherButton, &QPushButton::clicked, this,
            [this] { ProductInfoStep::start(this); });
    connect(ui->ExitButton, &QPushButton::clicked, this, &QCoreApplication::quit);
}

ThankYouPage::~ThankYouPage() = default;

void ThankYouPage::onLearningCenterButtonClicked()
{
    // The vendor's learning centre lives on the service's own site.
    QDesktopServices::openUrl(
        QUrl(serviceBaseUrl().toString() + QStringLiteral("/en/support/learning-center/")));
}
