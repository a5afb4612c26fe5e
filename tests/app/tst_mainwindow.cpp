#include "PopupAnswerer.h"
#include "TestMain.h"
#include "app/Core.h"
#include "app/MainWindow.h"
#include "app/OverlayWidget.h"
#include "app/PageFactory.h"
#include "app/PopupDialog.h"
#include "app/Startup.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {
// A page with a label and a button, to press on in the drag tests.
QWidget *pageWithButton(PageId id)
{
    auto *page = new QWidget;
    page->setObjectName(pageClassName(id));
    auto *layout = new QVBoxLayout(page);
    auto *label = new QLabel(QStringLiteral("Drag me"), page);
    label->setObjectName(QStringLiteral("DragLabel"));
    label->setMinimumHeight(100);
    layout->addWidget(label);
    auto *button = new QPushButton(QStringLiteral("NEXT"), page);
    button->setObjectName(QStringLiteral("NextButton"));
    button->setMinimumHeight(65);
    layout->addWidget(button);
    return page;
}

void sendMouse(QWidget *window, QEvent::Type type, QPoint global, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent event(type, window->mapFromGlobal(global), global, button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &event);
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void startsOnTheLanguagePage();
    void pageSwitchDeletesTheOldPageBeforeReturning();
    void nullPageShowsThePlaceholder();
    void nestedPopupsKeepTheOverlayUntilTheLastCloses();
    void helpFromAPopupKeepsTheOverlay();
    void overlayCoversTheWindowWhenResized();
    void logoChoiceIsCaseSensitive_data();
    void logoChoiceIsCaseSensitive();
    void draggingByLabelMovesTheWindow();
    void pressingAButtonDoesNotDrag();
    void rightButtonDoesNotDrag();

private:
    QWidget *overlay() const;
    QStackedWidget *stack() const
    {
        return m_window->findChild<QStackedWidget *>("ContainerWidget");
    }

    std::unique_ptr<MainWindow> m_window;
};

void TestMainWindow::initTestCase()
{
    Startup::applyLook(*qApp);
}

void TestMainWindow::init()
{
    Core::instance()->setPageFactory(&pageWithButton);
    m_window = std::make_unique<MainWindow>();
    m_window->move(100, 100);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestMainWindow::cleanup()
{
    m_window.reset();
    Core::instance()->setPageFactory({});
}

QWidget *TestMainWindow::overlay() const
{
    return m_window->findChild<OverlayWidget *>(QString(), Qt::FindDirectChildrenOnly);
}

void TestMainWindow::startsOnTheLanguagePage()
{
    QTRY_COMPARE(stack()->currentWidget()->objectName(), QStringLiteral("ChooseLanguagePage"));
    QCOMPARE(stack()->count(), 1);
    QCOMPARE(m_window->windowTitle(), QStringLiteral("HalvornSync 2.2.2.0"));
    QCOMPARE(m_window->size(), QSize(352, 505));
}

void TestMainWindow::pageSwitchDeletesTheOldPageBeforeReturning()
{
    QTRY_VERIFY(stack()->currentWidget()->objectName() == QLatin1String("ChooseLanguagePage"));
    QPointer<QWidget> old = stack()->currentWidget();
    Core::instance()->setCurrentPage(PageId::ChooseLanguagePage);
    QVERIFY(old.isNull());
    QCOMPARE(stack()->count(), 1);
    QCOMPARE(stack()->currentWidget()->objectName(), QStringLiteral("ChooseLanguagePage"));
}

void TestMainWindow::nullPageShowsThePlaceholder()
{
    QTRY_VERIFY(stack()->currentWidget()->objectName() == QLatin1String("ChooseLanguagePage"));
    QPointer<QWidget> old = stack()->currentWidget();
    QMetaObject::invokeMethod(m_window.get(), "onCurrentPageChanged", Q_ARG(QWidget *, nullptr));
    QVERIFY(old.isNull());
    QCOMPARE(stack()->count(), 1);
    QCOMPARE(stack()->currentWidget()->objectName(), QStringLiteral("PlaceholderPage"));

    // The placeholder survives being replaced, so it can come back.
    Core::instance()->setCurrentPage(PageId::ThankYouPage);
    QMetaObject::invokeMethod(m_window.get(), "onCurrentPageChanged", Q_ARG(QWidget *, nullptr));
    QCOMPARE(stack()->currentWidget()->objectName(), QStringLiteral("PlaceholderPage"));
}

void TestMainWindow::nestedPopupsKeepTheOverlayUntilTheLastCloses()
{
    QWidget *dim = overlay();
    QVERIFY(dim);
    QVERIFY(!dim->isVisible());

    PopupAnswerer answerer;
    bool visibleAfterInnerClosed = false;
    bool visibleWhileOuterOpen = false;
    QTimer::singleShot(0, this, [&] {
        visibleWhileOuterOpen = dim->isVisible();
        answerer.answer(PopupAnswerer::Button::Left);
        PopupDialog::ask(QStringLiteral("Inner"), QString(), QStringLiteral("NO"),
                         QStringLiteral("YES"));
        visibleAfterInnerClosed = dim->isVisible();
        answerer.answerOpen(PopupAnswerer::Button::Right);
    });
    const bool accepted = PopupDialog::ask(QStringLiteral("Outer"), QString(), QStringLiteral("NO"),
                                           QStringLiteral("YES"));
    QVERIFY(accepted);
    QCOMPARE(answerer.shownCount(), 2);
    QVERIFY(visibleWhileOuterOpen);
    QVERIFY(visibleAfterInnerClosed);
    QVERIFY(!dim->isVisible());
}

void TestMainWindow::helpFromAPopupKeepsTheOverlay()
{
    QWidget *dim = overlay();
    PopupAnswerer answerer;
    bool visibleAfterHelp = false;

    auto *popup = new PopupDialog;
    connect(popup->showNeedHelpButton(), &QPushButton::clicked, Core::instance(),
            [] { Core::instance()->showNeedHelp(new QLabel(QStringLiteral("picture"))); });
    QTimer::singleShot(0, this, [&] {
        answerer.answer(PopupAnswerer::Button::Right);
        popup->findChild<QPushButton *>("NeedHelpButton")->click();
        visibleAfterHelp = dim->isVisible();
        answerer.answerOpen(PopupAnswerer::Button::Left);
    });
    QCOMPARE(popup->exec(), int(QDialog::Rejected));
    QVERIFY(visibleAfterHelp);
    QVERIFY(dim->isVisible()); // until the pop-up itself is gone
    delete popup;
    QVERIFY(!dim->isVisible());
    QCOMPARE(answerer.shown().at(1).className, QStringLiteral("NeedHelpDialog"));
}

void TestMainWindow::overlayCoversTheWindowWhenResized()
{
    QWidget *dim = overlay();
    QCOMPARE(dim->size(), m_window->size());
    m_window->resize(395, 505);
    QCOMPARE(m_window->width(), 395);
    QCOMPARE(dim->size(), m_window->size());
    // A page added later must not cover the overlay.
    Core::instance()->setCurrentPage(PageId::ThankYouPage);
    QWidget *top = m_window->childAt(m_window->rect().center());
    QVERIFY(top != nullptr);
    PopupDialog popup;
    QVERIFY(dim->isVisible());
    QCOMPARE(m_window->childAt(m_window->rect().center()), dim);
}

void TestMainWindow::logoChoiceIsCaseSensitive_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("file");
    QTest::newRow("en") << "en"
                        << ":/images/logo-en.svg";
    QTest::newRow("fr") << "fr"
                        << ":/images/logo-fr.svg";
    QTest::newRow("EN is not en") << "EN"
                                  << ":/images/logo-no.svg";
    QTest::newRow("empty") << ""
                           << ":/images/logo-no.svg";
}

void TestMainWindow::logoChoiceIsCaseSensitive()
{
    QFETCH(QString, code);
    QFETCH(QString, file);
    auto *logo = m_window->findChild<QLabel *>("Logo");
    QMetaObject::invokeMethod(m_window.get(), "setLogoImage", Q_ARG(QString, code));
    const QImage expected = QIcon(file).pixmap(logo->size()).toImage();
    QVERIFY(!expected.isNull());
    QCOMPARE(logo->pixmap().toImage(), expected);
}

void TestMainWindow::draggingByLabelMovesTheWindow()
{
    QTRY_VERIFY(m_window->findChild<QLabel *>("DragLabel"));
    auto *label = m_window->findChild<QLabel *>("DragLabel");
    const QPoint start = label->mapToGlobal(label->rect().center());
    const QPoint before = m_window->pos();
    sendMouse(m_window.get(), QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    sendMouse(m_window.get(), QEvent::MouseMove, start + QPoint(30, 40), Qt::NoButton,
              Qt::LeftButton);
    sendMouse(m_window.get(), QEvent::MouseButtonRelease, start + QPoint(30, 40), Qt::LeftButton,
              Qt::NoButton);
    QCOMPARE(m_window->pos(), before + QPoint(30, 40));

    // After the release, moving no longer drags.
    sendMouse(m_window.get(), QEvent::MouseMove, start + QPoint(60, 80), Qt::NoButton,
              Qt::LeftButton);
    QCOMPARE(m_window->pos(), before + QPoint(30, 40));
}

void TestMainWindow::pressingAButtonDoesNotDrag()
{
    QTRY_VERIFY(m_window->findChild<QPushButton *>("NextButton"));
    auto *button = m_window->findChild<QPushButton *>("NextButton");
    const QPoint start = button->mapToGlobal(button->rect().center());
    const QPoint before = m_window->pos();
    sendMouse(m_window.get(), QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    sendMouse(m_window.get(), QEvent::MouseMove, start + QPoint(30, 40), Qt::NoButton,
              Qt::LeftButton);
    QCOMPARE(m_window->pos(), before);
}

void TestMainWindow::rightButtonDoesNotDrag()
{
    QTRY_VERIFY(m_window->findChild<QLabel *>("DragLabel"));
    auto *label = m_window->findChild<QLabel *>("DragLabel");
    const QPoint start = label->mapToGlobal(label->rect().center());
    const QPoint before = m_window->pos();
    sendMouse(m_window.get(), QEvent::MouseButtonPress, start, Qt::RightButton, Qt::RightButton);
    sendMouse(m_window.get(), QEvent::MouseMove, start + QPoint(30, 40), Qt::NoButton,
              Qt::RightButton);
    QCOMPARE(m_window->pos(), before);
}

HALVORNSYNC_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
