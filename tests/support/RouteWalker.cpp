#include "RouteWalker.h"

#include "app/ProductInfoStep.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEnterEvent>
#include <QPushButton>
#include <QStackedWidget>

RouteWalker::RouteWalker(QWidget *window, int pageTimeoutMs)
    : m_window(window)
    , m_timeoutMs(pageTimeoutMs)
{
}

QWidget *RouteWalker::currentPage() const
{
    auto *stack = m_window
                      ? m_window->findChild<QStackedWidget *>(QStringLiteral("ContainerWidget"))
                      : nullptr;
    return stack ? stack->currentWidget() : nullptr;
}

QString RouteWalker::waitForPage(const QString &page)
{
    const QDeadlineTimer deadline(m_timeoutMs);
    while (!currentPage() || currentPage()->objectName() != page) {
        if (deadline.hasExpired()) {
            return QStringLiteral("expected %1, the wizard shows %2")
                .arg(page, currentPage() ? currentPage()->objectName() : QString());
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    // Lets the page be painted before it is clicked.
    QCoreApplication::processEvents();
    return QString();
}

QString RouteWalker::walk(const QList<RouteStep> &steps)
{
    for (const RouteStep &step : steps) {
        if (const QString astray = waitForPage(step.page); !astray.isEmpty()) {
            return astray;
        }
        if (onPageReached) {
            onPageReached(step);
        }
        // A page may offer a button only once its own start-up work has run; the
        // product-information step ignores a new start until its last request is gone.
        QPushButton *button = nullptr;
        const QDeadlineTimer deadline(m_timeoutMs);
        while (!step.click.isEmpty() &&
               (!(button = currentPage()->findChild<QPushButton *>(step.click)) ||
                !button->isVisible() || !button->isEnabled() || ProductInfoStep::isRunning())) {
            if (deadline.hasExpired() || currentPage()->objectName() != step.page) {
                return QStringLiteral("%1 offers no %2 to click").arg(step.page, step.click);
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        if (onBeforeClick) {
            onBeforeClick(step, currentPage());
        }
        if (step.before) {
            step.before();
        }
        if (button) {
            // The pointer comes onto the button before it clicks, as a user's does (the language
            // buttons show their logo then).
            QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), button->mapToGlobal(QPointF(1, 1)));
            QCoreApplication::sendEvent(button, &enter);
            button->click();
        }
    }
    QCoreApplication::processEvents();
    return QString();
}
