#include "TourGuide.h"

#include "Photographer.h"
#include "app/ProductInfoStep.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEnterEvent>
#include <QPushButton>
#include <QStackedWidget>

namespace {
// Long enough for any page's own work (a stalled download is given up after 9 s); only a wizard
// that went astray waits this long.
const int kPageTimeoutMs = 30000;
} // namespace

TourGuide::TourGuide(QWidget *window, Photographer *photographer)
    : m_window(window)
    , m_photographer(photographer)
{
}

QWidget *TourGuide::currentPage() const
{
    auto *stack = m_window
                      ? m_window->findChild<QStackedWidget *>(QStringLiteral("ContainerWidget"))
                      : nullptr;
    return stack ? stack->currentWidget() : nullptr;
}

bool TourGuide::waitForPage(const QString &page)
{
    const QDeadlineTimer deadline(kPageTimeoutMs);
    while (!currentPage() || currentPage()->objectName() != page) {
        if (deadline.hasExpired()) {
            m_error = QStringLiteral("expected %1, the wizard shows %2")
                          .arg(page, currentPage() ? currentPage()->objectName() : QString());
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    // Lets the page be painted and photographed before it is clicked.
    QCoreApplication::processEvents();
    return true;
}

void TourGuide::actBeforeClick(const TourStep &step)
{
    if (!step.picture.isEmpty()) {
        m_photographer->photographVariant(currentPage(), step.picture);
    }
    if (step.before) {
        step.before();
    }
}

bool TourGuide::walk(const TourRoute &route)
{
    m_photographer->beginRoute(route.title);
    m_photographer->forgetAnswers();
    if (route.prepare) {
        route.prepare();
    }
    for (const TourStep &step : route.steps) {
        if (!waitForPage(step.page)) {
            return false;
        }
        m_photographer->expect(step.answers);
        m_photographer->follow(step.moments);
        if (step.button.isEmpty()) {
            actBeforeClick(step);
            continue;
        }
        // A page may offer a button only once its own start-up work has run.
        QPushButton *button = nullptr;
        const QDeadlineTimer deadline(kPageTimeoutMs);
        // The product-information step ignores a new start until its last request is gone.
        while (!(button = currentPage()->findChild<QPushButton *>(step.button)) ||
               !button->isVisible() || !button->isEnabled() || ProductInfoStep::isRunning()) {
            if (deadline.hasExpired() || currentPage()->objectName() != step.page) {
                m_error = QStringLiteral("%1 offers no %2 to click").arg(step.page, step.button);
                return false;
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        m_photographer->rephotograph(currentPage());
        actBeforeClick(step);
        // The pointer comes onto the button before it clicks, as a user's does (the language
        // buttons show their logo then).
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), button->mapToGlobal(QPointF(1, 1)));
        QCoreApplication::sendEvent(button, &enter);
        button->click();
    }
    QCoreApplication::processEvents();
    if (m_photographer->pendingAnswers() != 0) {
        m_error = QStringLiteral("%1 pop-up(s) the route expected never opened")
                      .arg(m_photographer->pendingAnswers());
        return false;
    }
    return true;
}
