#pragma once

#include "app/Core.h"

#include <QList>
#include <QObject>
#include <QWidget>

#include <functional>

// Records the pages the wizard moves to and deletes them, as the main window would, for tests
// that run without a main window. `onPage` runs after each page change.
class PageRecorder : public QObject
{
public:
    PageRecorder()
    {
        connect(Core::instance(), &Core::currentPageChanged, this, [this](QWidget *page) {
            pages.append(Core::instance()->currentPage());
            delete page;
            if (onPage) {
                onPage();
            }
        });
    }

    QList<PageId> pages;
    std::function<void()> onPage;
};
