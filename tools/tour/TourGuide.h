#pragma once

#include "TourRoute.h"

#include <QPointer>
#include <QString>

class Photographer;
class QWidget;

// Walks the routes through the real wizard by clicking its buttons, while the photographer takes
// the pictures and answers the pop-ups.
class TourGuide
{
public:
    TourGuide(QWidget *window, Photographer *photographer);

    // Returns false, with the reason in error(), when the wizard did not go where the route says.
    bool walk(const TourRoute &route);
    QString error() const { return m_error; }

private:
    bool waitForPage(const QString &page);
    void actBeforeClick(const TourStep &step);
    QWidget *currentPage() const;

    QPointer<QWidget> m_window;
    Photographer *m_photographer;
    QString m_error;
};
