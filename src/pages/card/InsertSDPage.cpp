#include "pages/card/InsertSDPage.h"

#include "app/ButtonTextFitter.h"
#include "app/Core.h"
#include "app/CurrentProduct.h"
#include "app/Pictures.h"
#include "app/PopupDialog.h"
#include "download/DownloadCache.h"
#include "maps/CardImage.h"
#include "pages/card/CardSafetyCopy.h"
#include "platform/platform.h"
#include "service/ProductInfo.h"

#include "ui_InsertSDPage.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

InsertSDPage::InsertSDPage(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::InsertSDPage>())
    , m_ownFolders({QDir::rootPath(), QDir::homePath(), QDir::tempPath(),
                    DownloadCache::programFolder(), Core::garminMapsFolder()})
{
    ui->setupUi(this);
    ui->InfoLabel->setText(ui->InfoLabel->text().arg(currentCard().name.toHtmlEscaped()));
    ui->StatusLabel->hide();
    ui->ProgressBar->hide();
    ui->ProgressBar->setAccessibleName(tr("Progress"));
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

InsertSDPage::~InsertSDPage()
{
    if (m_putBack) {
        Core::instance()->allowSleep();
    }
}

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
    // Whatever its bus: a system that runs from a card or a USB disk must not be offered itself.
    const QStringList own = platform->volumesHolding(m_ownFolders);
    QStringList cards;
    QStringList paths;
    QStringList labels;
    const QList<Platform::Volume> volumes = platform->mountedVolumes();
    for (const Platform::Volume &volume : volumes) {
        if (!volume.valid || !volume.ready || own.contains(volume.rootPath) ||
            !platform->isRemovableDrive(volume.rootPath)) {
            continue;
        }
        cards.append(volume.rootPath);
        if (!cardMatchesProduct(volume.rootPath)) {
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
        ui->DrivesComboBox->clear();
        ui->DrivesComboBox->addItems(labels);
        const int again = drivePaths.indexOf(chosen);
        if (again >= 0) {
            ui->DrivesComboBox->setCurrentIndex(again);
        }
    }
    // A card taken out is looked at again when it comes back.
    m_cardsSeen.removeIf([&cards](const QString &root) { return !cards.contains(root); });
    if (!putBackWaitingCopy(cards)) {
        drivePollTimer.start();
    }
}

bool InsertSDPage::putBackWaitingCopy(const QStringList &cards)
{
    if (!CardSafetyCopy::anyWaiting()) {
        return false;
    }
    for (const QString &root : cards) {
        if (m_cardsSeen.contains(root)) {
            continue;
        }
        m_cardsSeen.append(root);
        auto copy = std::make_unique<CardSafetyCopy>(root);
        if (!copy->canPutBack()) {
            continue;
        }
        // The card is being written: nothing is chosen or looked for until it is done.
        m_putBack = std::move(copy);
        setChoiceEnabled(false);
        ui->StatusLabel->setText(CardSafetyCopy::puttingBackText());
        ui->StatusLabel->show();
        ui->ProgressBar->setRange(0, 100);
        ui->ProgressBar->setValue(0);
        ui->ProgressBar->show();
        connect(m_putBack.get(), &CardSafetyCopy::progress, ui->ProgressBar,
                &QProgressBar::setValue);
        connect(m_putBack.get(), &CardSafetyCopy::checking, ui->ProgressBar,
                [this] { ui->ProgressBar->setRange(0, 0); });
        // Queued: the slot lets the copy go.
        connect(m_putBack.get(), &CardSafetyCopy::finished, this, &InsertSDPage::onPutBackFinished,
                Qt::QueuedConnection);
        Core::instance()->preventSleep();
        m_putBack->putBack();
        return true;
    }
    return false;
}

void InsertSDPage::onPutBackFinished(bool ok)
{
    Core::instance()->allowSleep();
    ui->ProgressBar->hide();
    const std::unique_ptr<CardSafetyCopy> copy = std::move(m_putBack);
    if (ok) {
        ui->StatusLabel->setText(CardSafetyCopy::putBackText());
    } else {
        ui->StatusLabel->hide();
        if (!Core::instance()->showErrorFor(this, copy->notPutBackText())) {
            return;
        }
    }
    setChoiceEnabled(true);
    // The card may now hold this product's map, or another's.
    onDrivePollTimerTimeout();
}

void InsertSDPage::setChoiceEnabled(bool enabled)
{
    ui->DrivesComboBox->setEnabled(enabled);
    ui->ContinueButton->setEnabled(enabled && ui->DrivesComboBox->currentIndex() != -1);
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
    // Nothing follows from the answer: the user is back at the card choice.
    popup.answerFor(this);
}
