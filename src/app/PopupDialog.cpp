#include "app/PopupDialog.h"

#include "app/Pictures.h"
#include "app/PopupPlacement.h"
#include "app/SupportLog.h"
#include "app/WebLink.h"
#include "app/WindowOverlay.h"

#include "ui_PopupDialog.h"

#include <QCoreApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextDocumentFragment>

#include <algorithm>
#include <cmath>

namespace {
constexpr int TextWidth = 336;
}

PopupDialog::PopupDialog(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::PopupDialog>())
{
    ui->setupUi(this);
    m_formHeight = height();
    setWindowFlag(Qt::FramelessWindowHint);
    ui->WarningPixmap->setPixmap(renderPicture(QStringLiteral(":/images/attention.svg"), {50, 43}));
    ui->NeedHelpButton->hide();
    ui->InfoLabel->hide();
    ui->WarningPixmap->hide();
    // Enter and Return always mean the right button, whichever button has the focus.
    ui->RightPopupButton->setDefault(true);
    ui->PopupHeaderLabel->setTextFormat(Qt::PlainText);
    // A long text (a notice from the service) scrolls, so the pop-up never grows past the screen
    // and its buttons stay on it. The area is as tall as the text until the screen is too short.
    m_textScroll = new QScrollArea(ui->BackgroundWidget);
    m_textScroll->setObjectName(QStringLiteral("TextScrollArea"));
    m_textScroll->setFrameShape(QFrame::NoFrame);
    m_textScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_textScroll->setWidgetResizable(true);
    m_textScroll->setAutoFillBackground(false);
    m_textScroll->viewport()->setAutoFillBackground(false);
    delete ui->gridLayout_2->replaceWidget(ui->TextLabel, m_textScroll);
    m_textScroll->setWidget(ui->TextLabel);
    fitTextToScreen();
    // The link of a notice comes from the service: never handed to the system as it is.
    connect(ui->TextLabel, &QLabel::linkActivated, this,
            [](const QString &link) { WebLink::open(QUrl(link)); });
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
    // A screen reader announces the pop-up by its header.
    setAccessibleName(text);

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

void PopupDialog::setText(const QString &richText)
{
    ui->TextLabel->setTextFormat(Qt::RichText);
    // Some messages break their line with "\n", which markup would show as a blank.
    ui->TextLabel->setText(QString(richText).replace(QLatin1Char('\n'), QLatin1String("<br/>")));
    fitTextToScreen();
}

void PopupDialog::setPlainText(const QString &text)
{
    ui->TextLabel->setTextFormat(Qt::PlainText);
    ui->TextLabel->setText(text);
    fitTextToScreen();
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

void PopupDialog::fitTextToScreen()
{
    QLabel *label = ui->TextLabel;
    label->setFixedWidth(TextWidth);
    const int full = std::max(label->minimumHeight(), label->heightForWidth(TextWidth));
    m_textScroll->setFixedHeight(full);
    // A stop for the keyboard only when there is something to scroll.
    m_textScroll->setFocusPolicy(Qt::NoFocus);
    relayout();
    const QScreen *screen = this->screen();
    if (!screen) {
        return;
    }
    const int room = screen->availableGeometry().height();
    const int rest = layout()->totalSizeHint().height() - full;
    if (rest + full <= room) {
        return;
    }
    // The scroll bar takes its width from the text, which wraps again and grows taller.
    label->setFixedWidth(TextWidth - m_textScroll->verticalScrollBar()->sizeHint().width());
    m_textScroll->setFixedHeight(std::max(label->minimumHeight(), room - rest));
    m_textScroll->setFocusPolicy(Qt::StrongFocus);
    relayout();
}

void PopupDialog::relayout()
{
    // Now, not when the event loop next turns: the dialog's size is worked out from it.
    ui->gridLayout_2->invalidate();
    ui->gridLayout_2->activate();
    layout()->invalidate();
    layout()->activate();
}

void PopupDialog::centreOnMainWindow()
{
    PopupPlacement::centreOnMainWindow(this);
}

void PopupDialog::showEvent(QShowEvent *event)
{
    SupportLog::write(
        QStringLiteral("pop-up: %1: %2").arg(ui->PopupHeaderLabel->text(), readText()));
    // The screen is known for certain now, and so is everything shown below the text.
    fitTextToScreen();
    // A long text set before the screen was known may have stretched the dialog; it has the
    // form's height, or more when its contents need it.
    resize(width(), std::max(m_formHeight, minimumHeight()));
    if (const QScreen *screen = this->screen()) {
        // Centred on the main window, but never hanging over the screen's edge.
        const QRect room = screen->availableGeometry();
        QRect frame = frameGeometry();
        frame.moveTop(std::clamp(frame.top(), room.top(),
                                 std::max(room.top(), room.bottom() - frame.height() + 1)));
        frame.moveLeft(std::clamp(frame.left(), room.left(),
                                  std::max(room.left(), room.right() - frame.width() + 1)));
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

void PopupDialog::makeLeftButtonTheDefault()
{
    ui->RightPopupButton->setDefault(false);
    ui->LeftPopupButton->setDefault(true);
    ui->LeftPopupButton->setFocus();
    m_escapeChoosesLeft = true;
}

QString PopupDialog::readText() const
{
    const QLabel *label = ui->TextLabel;
    if (label->textFormat() == Qt::PlainText) {
        return label->text();
    }
    return QTextDocumentFragment::fromHtml(label->text())
        .toPlainText()
        .remove(QChar::ObjectReplacementCharacter);
}

void PopupDialog::done(int result)
{
    const QPushButton *pressed =
        result == QDialog::Accepted ? ui->RightPopupButton : ui->LeftPopupButton;
    SupportLog::write(QStringLiteral("answer: ") + pressed->text());
    QDialog::done(result);
}

std::optional<bool> PopupDialog::answerFor(QObject *asker)
{
    const QPointer<QObject> guard(asker);
    centreOnMainWindow();
    const bool accepted = exec() == QDialog::Accepted;
    if (!guard) {
        return std::nullopt;
    }
    return accepted;
}

std::optional<bool> PopupDialog::ask(QObject *asker, const QString &header, const QString &text,
                                     const QString &leftButton, const QString &rightButton,
                                     bool leftIsDefault)
{
    PopupDialog dialog;
    dialog.setHeader(header);
    dialog.setText(text);
    dialog.setLeftButtonText(leftButton);
    dialog.setRightButtonText(rightButton);
    if (leftIsDefault) {
        dialog.makeLeftButtonTheDefault();
    }
    return dialog.answerFor(asker);
}

bool PopupDialog::ask(const QString &header, const QString &text, const QString &leftButton,
                      const QString &rightButton, bool leftIsDefault)
{
    // The application outlives every question.
    return ask(QCoreApplication::instance(), header, text, leftButton, rightButton, leftIsDefault)
        .value_or(false);
}

void PopupDialog::keyPressEvent(QKeyEvent *event)
{
    // A pop-up is answered with its buttons; Escape dismisses only one whose left button is the
    // careful answer.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        if (m_escapeChoosesLeft) {
            reject();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}
