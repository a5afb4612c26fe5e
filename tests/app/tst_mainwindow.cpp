#include "PopupAnswerer.h"
#include "TestMain.h"
#include "app/Core.h"
#include "app/MainWindow.h"
#include "app/OverlayWidget.h"
#include "app/PopupDialog.h"
#include "app/Startup.h"
#include "service/SerialDialog.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>

namespace {
using Button = PopupAnswerer::Button;

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Startup::applyLook(*qApp); }
    void init();
    void cleanup() { m_window.reset(); }

    void pageSwitchDeletesTheOldPageBeforeReturning();
    void nestedPopupsKeepTheOverlayUntilTheLastCloses();
    void overlayCoversTheWindowWhenResized();
    void namesForScreenReaders();

private:
    QWidget *overlay() const
    {
        return m_window->findChild<OverlayWidget *>(QString(), Qt::FindDirectChildrenOnly);
    }
    QStackedWidget *stack() const
    {
        return m_window->findChild<QStackedWidget *>("ContainerWidget");
    }
    QString pageName() const { return stack()->currentWidget()->objectName(); }

    std::unique_ptr<MainWindow> m_window;
};

void TestMainWindow::init()
{
    m_window = std::make_unique<MainWindow>();
    m_window->move(100, 100);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QTRY_COMPARE(pageName(), QStringLiteral("ChooseLanguagePage"));
}

void TestMainWindow::pageSwitchDeletesTheOldPageBeforeReturning()
{
    QPointer<QWidget> old = stack()->currentWidget();
    Core::instance()->setCurrentPage(PageId::ChooseLanguagePage);
    QVERIFY(old.isNull());
    QCOMPARE(stack()->count(), 1);
    QCOMPARE(pageName(), QStringLiteral("ChooseLanguagePage"));

    // Without a page the placeholder stands in; it survives being replaced, so it can come back.
    QMetaObject::invokeMethod(m_window.get(), "onCurrentPageChanged", Q_ARG(QWidget *, nullptr));
    QCOMPARE(stack()->count(), 1);
    QCOMPARE(pageName(), QStringLiteral("PlaceholderPage"));
    Core::instance()->setCurrentPage(PageId::ThankYouPage);
    QMetaObject::invokeMethod(m_window.get(), "onCurrentPageChanged", Q_ARG(QWidget *, nullptr));
    QCOMPARE(pageName(), QStringLiteral("PlaceholderPage"));
}

void TestMainWindow::nestedPopupsKeepTheOverlayUntilTheLastCloses()
{
    QWidget *dim = overlay();
    QVERIFY(!dim->isVisible());

    PopupAnswerer answerer;
    QList<bool> visible; // while the outer pop-up is open, after an inner pop-up, after help
    bool innerAccepted = true;
    QPointer<QLabel> picture = new QLabel(QStringLiteral("picture"));
    QTimer::singleShot(0, this, [&] {
        visible.append(dim->isVisible());
        answerer.answer(Button::Left);
        innerAccepted = PopupDialog::ask(QStringLiteral("Inner"), QString(), QStringLiteral("No"),
                                         QStringLiteral("Yes"));
        visible.append(dim->isVisible());
        Core::instance()->showNeedHelp(nullptr); // nothing to show: no pop-up
        answerer.answer(Button::Right);
        Core::instance()->showNeedHelp(picture);
        visible.append(dim->isVisible());
        answerer.answerOpen(Button::Right);
    });
    QVERIFY(PopupDialog::ask(QStringLiteral("Outer"), QString(), QStringLiteral("No"),
                             QStringLiteral("Yes")));
    QVERIFY(!innerAccepted);
    QCOMPARE(visible, (QList<bool>{true, true, true}));
    QVERIFY(!dim->isVisible());
    QCOMPARE(answerer.shownCount(), 3);
    QCOMPARE(answerer.shown().at(1).leftButton, QStringLiteral("NO"));
    QCOMPARE(answerer.shown().at(2).className, QStringLiteral("NeedHelpDialog"));
    QVERIFY(picture.isNull()); // the help dialog took it and deleted it
}

void TestMainWindow::overlayCoversTheWindowWhenResized()
{
    QWidget *dim = overlay();
    m_window->resize(395, 505);
    QCOMPARE(dim->size(), m_window->size());
    // A page added later must not cover the overlay.
    Core::instance()->setCurrentPage(PageId::ThankYouPage);
    PopupDialog popup;
    QVERIFY(dim->isVisible());
    QCOMPARE(m_window->childAt(m_window->rect().center()), dim);
}

void TestMainWindow::namesForScreenReaders()
{
    const auto name = [](QObject *object) {
        return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
    };
    QCOMPARE(name(m_window->findChild<QToolButton *>("CloseButton")), "Close");

    PopupDialog popup;
    popup.setHeader("Error");
    QCOMPARE(name(&popup), "Error");

    SerialDialog serial;
    QCOMPARE(name(&serial), "Product Serial Number");
    auto *field = serial.findChild<QLineEdit *>("SerialLineEdit");
    QCOMPARE(name(field), "Serial number");
    const auto labels = QAccessible::queryAccessibleInterface(field)->relations(QAccessible::Label);
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.first().first->object(), serial.findChild<QLabel *>("TextLabel"));
}

HALVORNSYNC_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
