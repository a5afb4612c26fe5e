#include "pages/card/InsertSDPage.h"

#include "app/ButtonTextFitter.h"
#include "app/Core.h"
#include "app/CurrentProduct.h"
#include "app/Pictures.h"
#include "app/PopupDialog.h"
#include "maps/CardImage.h"
#include "platform/platform.h"
#include "service/ProductInfo.h"

#include "ui_InsertSDPage.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

InsertSDPage::InsertSDPage(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::InsertSDPage>())
{
    ui->setupUi(this);
    ui->InfoLabel->setText(ui->InfoLabel->text().arg(currentCard().name.toHtmlEscaped()));
    ui->DrivesComboBox->setAccessibleDescription(ComboBox::placeholderText());
    ButtonTextFitter::attach(ui->ContinueButton);

    connect(ui->NeedHelpButton, &QPushButton::clicked, this, &InsertSDPage::onNeedHelpClicked);
    connect(ui->ContinueButton, &QPushButton::clicked, this, &InsertSDPage::onContinueClicked);
    connect(&drivePollTimer, &QTimer::timeout, this, &InsertSDPage::onDrivePollTimerTimeout);
    connect(ui->DrivesComboBox, &QComboBox::currentIndexChanged, this, [this](int index) {
        ui->ContinueButton->setEnabled(index != -1);
        // A screen reader hears why the list is empty, as a sighted user reads it.
        ui->DrivesComboBox->setAccessibleDescription(index == -1 ? ComboBox::placeholderText()
                                                                 : QString());
    });
    drivePollTimer.setInterval(pollIntervalMs);
    drivePollTimer.start();
}

InsertSDPage::~InsertSDPage() = default;

void InsertSDPage::onNeedHelpClicked()
{
    Core::instance()->showNeedHelp(
        helpPictureLabel(QStringLiteral(":/images/image-needhelp-insert-sd.png"), this));
}

void InsertSDPage::onDrivePollTimerTimeout()
{
    // Restarted at the end, so a slow scan never queues the next one behind it.
    drivePollTimer.stop();
    const Platform *platform = Platform::instance();
    QStringList paths;
    QStringList labels;
    const QList<Platform::Volume> volumes = platform->mountedVolumes();
    for (const Platform::Volume &volume : volumes) {
        if (!volume.valid || !volume.ready || !platform->isRemovableDrive(volume.rootPath) ||
            !cardMatchesProduct(volume.rootPath)) {
            continue;
        }
        paths.append(volume.rootPath);
        labels.append(volume.name.isEmpty()
                          ? volume.rootPath
                          : QStringLiteral("%1 (%2)").arg(volume.rootPath, volume.name));
    }

    if (paths != drivePaths) {
        const int current = ui->DrivesComboBox->currentIndex();
        const QString chosen =
            current >= 0 && current < drivePaths.size() ? drivePaths.at(current) : QString();
        drivePaths = paths;
        driveLabels = labels;
        ui->DrivesComboBox->clear();
        ui->DrivesComboBox->addItems(driveLabels);
        const int again = drivePaths.indexOf(chosen);
        if (again >= 0) {
            ui->DrivesComboBox->setCurrentIndex(again);
        }
    }
    drivePollTimer.start();
}

bool InsertSDPage::cardMatchesProduct(const QString &rootPath)
{
    if (rootPath.isEmpty()) {
        return false;
    }
    const QString image = CardImage::path(rootPath);
    // A blank card can receive the map.
    if (!QFileInfo::exists(image)) {
        return true;
    }
    const std::optional<int> family = CardImage::familyIdOfFile(image);
    return family && *family == currentCard().fid;
}

void InsertSDPage::onContinueClicked()
{
    const int current = ui->DrivesComboBox->currentIndex();
    const QString path =
        current >= 0 && current < drivePaths.size() ? drivePaths.at(current) : QString();
    const std::optional<Platform::Volume> volume =
        path.isEmpty() ? std::nullopt : Platform::instance()->mountedVolume(path);
    if (!path.isEmpty() && !volume) {
        onDrivePollTimerTimeout(); // the card went since the last look: the list catches up
        return;
    }
    if (!volume || volume->readOnly) {
        showReadOnlyPopup();
        return;
    }
    Core *core = Core::instance();
    core->setCardDrive(path);
    core->setCurrentPage(currentProduct().latestNewerThanSd ? PageId::SDUpdatesAvailablePage
                                                            : PageId::NoSDUpdatesAvailablePage);
}

void InsertSDPage::showReadOnlyPopup()
{
    PopupDialog popup(Core::mainWindow());
    popup.setLeftButtonText({});
    popup.setRightButtonText(tr("≺ BACK"));
    popup.setHeader(tr("Error"));
    popup.setText(tr("Please disable read-only mode."));
    connect(popup.showNeedHelpButton(), &QPushButton::clicked, &popup, [&popup] {
        auto *picture = new QLabel(&popup);
        picture->setPixmap(QPixmap(QStringLiteral(":/images/sd-disable-read-only.png")));
        picture->setAlignment(Qt::AlignCenter);
        picture->setContentsMargins(12, 12, 12, 12);
        Core::instance()->showNeedHelp(picture);
    });
    popup.centreOnMainWindow();
    popup.exec();
}
