#pragma once

#include <QList>
#include <QString>

#include <functional>

class QWidget;

// The answer to a pop-up: `accept` presses its right button (else the left one), `text` is typed
// into the serial pop-up first; `name` names its picture in the tour.
struct RouteAnswer
{
    QString name;
    bool accept = true;
    QString text;
};

// Answers that press the right button (YES, NEXT, CONTINUE) or the left one (NO, SKIP, BACK),
// for walks that take no pictures.
inline const RouteAnswer Yes;
inline const RouteAnswer No{.accept = false};

// A state a page passes through by itself (downloading, verifying...), pictured by the tour as
// "<page>-<name>" the moment `reached` first holds for the page.
struct RouteMoment
{
    QString name;
    std::function<bool(QWidget *page)> reached;
};

// One step of a walk through the wizard: wait for `page`, hand on the answers to the pop-ups that
// follow (also those a later page opens by itself), run `before`, then click the button named
// `click`, unless it is empty (the page moves on by itself).
struct RouteStep
{
    QString page;
    QString click;
    QList<RouteAnswer> answers;
    // For the tour: the page pictured as it stands at this step, as "<page>-<picture>", and the
    // states it is pictured in while it works.
    QString picture;
    QList<RouteMoment> moments;
    // Changes what the next pages find (another card in the drive, say).
    std::function<void()> before;
};
