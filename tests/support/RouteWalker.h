#pragma once

#include "Route.h"

#include <QPointer>
#include <QString>

#include <functional>

// Walks a route through the real main window by clicking its buttons, as a user would.
class RouteWalker
{
public:
    // `pageTimeoutMs` is how long a page or its button is awaited before the walk fails.
    RouteWalker(QWidget *window, int pageTimeoutMs);

    // Once the step's page is shown: the answers go to whoever answers the pop-ups.
    std::function<void(const RouteStep &step)> onPageReached;
    // Just before the step's button is clicked, or once its page is shown when it has none.
    std::function<void(const RouteStep &step, QWidget *page)> onBeforeClick;

    // Where the wizard went astray (the page expected and the page shown, or the button it does
    // not offer); empty when it went where the route says.
    QString walk(const QList<RouteStep> &steps);
    QWidget *currentPage() const;

private:
    QString waitForPage(const QString &page);

    QPointer<QWidget> m_window;
    int m_timeoutMs;
};
