#include "app/MainWindow.h"

#include "app/Core.h"
#include "app/OverlayWidget.h"
#include "halvornsync/Version.h"

#include "ui_MainWindow.h"

#include <QFontDatabase>
#include <QIcon>
#include <QMouseEvent>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent, Qt::FramelessWindowHint)
    , ui(std::make_unique<Ui::MainWindow>())
    , m_overlay(new OverlayWidget(this))
{
    ui->setupUi(this);
    m_overlay->hide();

    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("HalvornSync ") + QLatin1String(ProgramVersion::full));
    setWindowIcon(QIcon(QStringLiteral(":/icons/HalvornSync.ico")));

    QPalette palette = QApplication::palette();
    palette.setBrush(QPalette::All, QPalette::Window, Qt::white);
    QApplication::setPalette(palette);

    // The last family added (Regular) becomes the application font.
    QString regularFamily;
    for (const char *font :
         {":/fonts/Bold.ttf", ":/fonts/Light.ttf", ":/fonts/Mono.ttf", ":/fonts/Regular.ttf"}) {
        const QStringList families =
            QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFont(font));
        regularFamily = families.value(0);
    }
    if (!regularFamily.isEmpty()) {
        QFont font(regularFamily);
        font.setPixelSize(15);
        font.setStyleStrategy(QFont::PreferAntialias);
        QApplication::setFont(font);
    }

    QPalette windowPalette = palette;
    windowPalette.setBrush(QPalette::All, QPalette::Window,
                           QBrush(QPixmap(QStringLiteral(":/images/background.png"))));
    setPalette(windowPalette);

    setLogoImage(QString());

    connect(ui->CloseButton, &QToolButton::clicked, this, &QWidget::close);
    connect(Core::instance(), &Core::currentPageChanged, this, &MainWindow::onCurrentPageChanged);
    QMetaObject::invokeMethod(this, "Initialization", Qt::QueuedConnection);
}

MainWindow::~MainWindow() = default;

void MainWindow::Initialization()
{
    Core::instance()->setCurrentPage(PageId::ChooseLanguagePage);
}

void MainWindow::onCurrentPageChanged(QWidget *page)
{
    // The stack never holds more than one page, and a replaced page is gone before
    // Core::setCurrentPage returns.
    if (QWidget *current = ui->ContainerWidget->currentWidget()) {
        ui->ContainerWidget->removeWidget(current);
        if (current != ui->PlaceholderPage) {
            delete current;
        }
    }
    ui->ContainerWidget->addWidget(page ? page : ui->PlaceholderPage);
    // The keyboard starts on the new page's first control: the close button, before the page in
    // the Tab order, is one Shift+Tab away rather than a stray Space away from ending the run.
    if (page) {
        for (QWidget *control = page->nextInFocusChain(); page->isAncestorOf(control);
             control = control->nextInFocusChain()) {
            if ((control->focusPolicy() & Qt::TabFocus) && control->isEnabled() &&
                control->isVisibleTo(page)) {
                control->setFocus(Qt::TabFocusReason);
                break;
            }
        }
    }
}

void MainWindow::setLogoImage(QString code)
{
    QString file = QStringLiteral(":/images/logo-no.svg");
    if (code == QLatin1String("en")) {
        file = QStringLiteral(":/images/logo-en.svg");
    } else if (code == QLatin1String("fr")) {
        file = QStringLiteral(":/images/logo-fr.svg");
    }
    ui->Logo->setPixmap(QIcon(file).pixmap(ui->Logo->size()));
}

void MainWindow::setOverlayVisible(bool visible)
{
    m_overlayRequests += visible ? 1 : -1;
    if (!visible && m_overlayRequests != 0) {
        return; // another pop-up is still open
    }
    if (m_overlay) {
        m_overlay->setVisible(visible);
    }
}

void MainWindow::mousePressEvent(QMouseEvent *event)
{
    m_dragger.press(this, event);
}

void MainWindow::mouseReleaseEvent(QMouseEvent *)
{
    m_dragger.release();
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    m_dragger.move(this, event);
}
