#include "app/SerialDialog.h"

#include "app/PopupPlacement.h"
#include "app/WindowOverlay.h"

#include "ui_SerialDialog.h"

#include <QKeyEvent>

SerialDialog::SerialDialog(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::SerialDialog>())
{
    ui->setupUi(this);
    setWindowFlag(Qt::FramelessWindowHint);
    ui->PopupHeaderLabel->setText(tr("Product Serial Number").toUpper());
    // A screen reader announces the pop-up by its header.
    setAccessibleName(tr("Product Serial Number"));
    connect(ui->LeftPopupButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->RightPopupButton, &QPushButton::clicked, this, &SerialDialog::accept);
    connect(ui->SerialLineEdit, &QLineEdit::textChanged, this, [this](const QString &text) {
        ui->RightPopupButton->setEnabled(!text.trimmed().isEmpty());
    });
    ui->RightPopupButton->setEnabled(false);
    ui->SerialLineEdit->setFocus();
    adjustSize();
    PopupPlacement::centreOnMainWindow(this);
    m_dimmedWindow = WindowOverlay::dim();
}

SerialDialog::~SerialDialog()
{
    WindowOverlay::undim(m_dimmedWindow);
}

void SerialDialog::setSerial(const QString &serial)
{
    ui->SerialLineEdit->setText(serial);
    ui->SerialLineEdit->selectAll();
}

QString SerialDialog::serial() const
{
    return ui->SerialLineEdit->text().trimmed();
}

void SerialDialog::accept()
{
    if (serial().isEmpty()) {
        ui->SerialLineEdit->setFocus();
        return;
    }
    QDialog::accept();
}

void SerialDialog::keyPressEvent(QKeyEvent *event)
{
    // Answered with its buttons only, like every pop-up of the program.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
