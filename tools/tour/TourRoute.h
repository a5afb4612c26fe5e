#pragma once

#include "Route.h"

#include <QList>
#include <QString>

#include <functional>

class FakePlatform;

struct TourRoute
{
    QString title;
    // Sets the scene before the first step: the product, the page to start from.
    std::function<void()> prepare;
    QList<RouteStep> steps;
};

// Every route through the wizard, as far as the built pages go, with the stand-in vendor
// service's sample serials. `languageButton` is the button of the language the tour is made in;
// routes install or remove BaseCamp through `platform`.
QList<TourRoute> tourRoutes(const QString &languageButton, FakePlatform *platform);
