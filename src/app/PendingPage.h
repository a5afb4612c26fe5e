#pragma once

#include "app/PageId.h"

#include <QWidget>

// Stands in for a wizard page that has not been built yet. It carries the page's class name as
// its object name and shows it, so the wizard can be walked up to it.
class PendingPage : public QWidget
{
    Q_OBJECT

public:
    explicit PendingPage(PageId id, QWidget *parent = nullptr);

    PageId pageId() const { return m_id; }

private:
    PageId m_id;
};
