#include "app/NeedHelpDialog.h"

#include "app/Core.h"
#include "app/WindowOverlay.h"

#include "ui_NeedHelpDialog.h"

#include <QGridLayout>
#include <QTimer>

NeedHelpDialog::NeedHelpDialog(QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::NeedHelpDialog>())
{
    ui->setupUi(this);
    setWindowFlag(Qt::FramelessWindowHint);
    // A screen reader announces the pop-up by its header.
    setAccessibleName(tr("Need Help?"));

    auto *layout = new QGridLayout(ui->ContainerWidget);
    layout->setObjectName(QStringLiteral("gridLayout_4"));
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);

    QPalette background = palette();
    background.setBrush(QPalette::All, QPalette::Window,
                        QBrush(QPixmap(QStringLiteral(":/images/background.png"))));
    setPalette(background);

    // Centred once laid out, when the dialog knows its final size.
    QTimer::singleShot(0, this, [this] {
        if (QWidget *window = Core::mainWindow()) {
            move(window->geometry().center() - QPoint(width() / 2, height() / 2));
        }
    });

    connect(ui->CloseButton, &QToolButton::clicked, this, &QDialog::reject);
    connect(ui->OkButton, &QPushButton::clicked, this, &QDialog::accept);
    m_dimmedWindow = WindowOverlay::dim();
}

NeedHelpDialog::~NeedHelpDialog()
{
    WindowOverlay::undim(m_dimmedWindow);
}

void NeedHelpDialog::setContentWidget(QWidget *widget)
{
    if (widget) {
        widget->setParent(ui->ContainerWidget);
        ui->ContainerWidget->layout()->addWidget(widget);
    }
}

void NeedHelpDialog::mousePressEvent(QMouseEvent *event)
{
    m_dragger.press(this, event);
}

void NeedHelpDialog::mouseReleaseEvent(QMouseEvent *)
{
    m_dragger.release();
}

void NeedHelpDialog::mouseMoveEvent(QMouseEvent *event)
{
    m_dragger.move(this, event);
}
