#pragma once

#include <QList>
#include <QString>

#include <functional>

// How the tour answers a pop-up: `name` names its picture, `accept` presses the right button
// (else the left one).
struct PopupAnswer
{
    QString name;
    bool accept = true;
};

// One step of a route: wait for `page`, queue the answers to the pop-ups that follow (also those
// a later page opens by itself), then click `button` unless it is empty (the page moves on by
// itself).
struct TourStep
{
    QString page;
    QString button;
    QList<PopupAnswer> answers;
};

struct TourRoute
{
    QString title;
    // Sets the scene before the first step: the product, the page to start from.
    std::function<void()> prepare;
    QList<TourStep> steps;
};

// Every route through the wizard, as far as the built pages go. `languageButton` is the button
// of the language the tour is made in.
QList<TourRoute> tourRoutes(const QString &languageButton);
