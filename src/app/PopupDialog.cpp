#include "app/PopupDialog.h"

#include "app/Core.h"
#include "app/Pictures.h"
#include "app/WindowOverlay.h"

#include "ui_PopupDialog.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>

#include <cmath>

PopupDialog::PopupDialog(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::PopupDialog>())
{
    ui->setupUi(this);
    setWindowFlag(Qt::FramelessWindowHint);
    ui->WarningPixmap->setPixmap(renderPicture(QStringLiteral(":/images/attention.svg"), {50, 43}));
    ui->NeedHelpButton->hide();
    ui->InfoLabel->hide();
    ui->WarningPixmap->hide();
    // Enter and Return always mean the right button, whichever button has the focus.
    ui->RightPopupButton->setDefault(true);
    connect(ui->LeftPopupButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->RightPopupButton, &QPushButton::clicked, this, &QDialog::accept);
    m_dimmedWindow = WindowOverlay::dim();
}

PopupDialog::~PopupDialog()
{
    WindowOverlay::undim(m_dimmedWindow);
}

void PopupDialog::setHeader(const QString &text)
{
    QLabel *label = ui->PopupHeaderLabel;
    label->setText(text.toUpper());

    label->setStyleSheet(QString());
    label->ensurePolished();
    const int available = width() - 24;
    const int textWidth = QFontMetrics(label->font()).horizontalAdvance(label->text());
    if (textWidth > available) {
        const auto drawnWidthAt = [label](int pixelSize) {
            label->setStyleSheet(QStringLiteral("font-size: %1px;").arg(pixelSize));
            label->ensurePolished();
            return QFontMetrics(label->font()).horizontalAdvance(label->text());
        };
        const double ratio = double(available) / textWidth;
        int pixelSize = int(std::lround(QFontInfo(label->font()).pixelSize() * ratio));
        // Glyph widths do not scale exactly with the size (hinting rounds each one), so the
        // proportional size can still be too wide by a few pixels per letter: shrink on.
        while (pixelSize > 1 && drawnWidthAt(pixelSize) > available) {
            --pixelSize;
        }
    }

    if (text == tr("Error")) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::All, QPalette::WindowText, QColor(0xDC, 0x26, 0x2D));
        label->setPalette(palette);
    }
}

void PopupDialog::setText(const QString &text)
{
    ui->TextLabel->setText(text);
}

void PopupDialog::setLeftButtonText(const QString &text)
{
    ui->LeftPopupButton->setText(text.toUpper());
    ui->LeftPopupButton->setHidden(text.isEmpty());
}

void PopupDialog::setRightButtonText(const QString &text)
{
    ui->RightPopupButton->setText(text.toUpper());
    ui->RightPopupButton->setHidden(text.isEmpty());
}

void PopupDialog::setLinksEnabled(bool enabled)
{
    ui->TextLabel->setOpenExternalLinks(enabled);
    ui->TextLabel->setTextInteractionFlags(enabled ? Qt::TextBrowserInteraction
                                                   : Qt::NoTextInteraction);
}

void PopupDialog::showDurationWarning()
{
    ui->WarningPixmap->show();
    ui->InfoLabel->show();
}

QPushButton *PopupDialog::showNeedHelpButton()
{
    ui->NeedHelpButton->show();
    return ui->NeedHelpButton;
}

void PopupDialog::centreOnMainWindow()
{
    if (QWidget *window = Core::mainWindow()) {
        move(window->geometry().center() - rect().center());
    }
}

bool PopupDialog::ask(const QString &header, const QString &text, const QString &leftButton,
                      const QString &rightButton)
{
    PopupDialog dialog;
    dialog.setHeader(header);
    dialog.setText(text);
    dialog.setLeftButtonText(leftButton);
    dialog.setRightButtonText(rightButton);
    dialog.centreOnMainWindow();
    return dialog.exec() == QDialog::Accepted;
}

void PopupDialog::keyPressEvent(QKeyEvent *event)
{
    // A pop-up is answered with its buttons; Escape must not dismiss it.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
