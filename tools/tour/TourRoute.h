#pragma once

#include <QList>
#include <QString>

#include <functional>

class QWidget;
class FakePlatform;

// How the tour answers a pop-up: `name` names its picture, `text` is typed into its line edit
// (the serial pop-up's), `accept` presses the right button (else the left one).
struct PopupAnswer
{
    QString name;
    bool accept = true;
    QString text;
};

// A state a page passes through by itself (downloading, verifying...), pictured as
// "<page>-<name>" the moment `reached` first holds for the page.
struct TourMoment
{
    QString name;
    std::function<bool(QWidget *page)> reached;
};

// One step of a route: wait for `page`, queue the answers to the pop-ups that follow (also those
// a later page opens by itself), then click `button` unless it is empty (the page moves on by
// itself).
struct TourStep
{
    QString page;
    QString button;
    QList<PopupAnswer> answers;
    // When set, the page is also pictured as it stands at this step, as "<page>-<picture>": for a
    // page that looks different on this route (a card without a map, BaseCamp installed).
    QString picture;
    // Runs just before the button is clicked, to change what the next pages find (another card
    // in the drive, say).
    std::function<void()> before;
    // States the page is pictured in while it works, before it moves on.
    QList<TourMoment> moments;
};

struct TourRoute
{
    QString title;
    // Sets the scene before the first step: the product, the page to start from.
    std::function<void()> prepare;
    QList<TourStep> steps;
};

// Every route through the wizard, as far as the built pages go, with the stand-in vendor
// service's sample serials. `languageButton` is the button of the language the tour is made in;
// routes install or remove BaseCamp through `platform`.
QList<TourRoute> tourRoutes(const QString &languageButton, FakePlatform *platform);
