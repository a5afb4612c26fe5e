#pragma once

#include "app/PageId.h"

#include <QWidget>

#include <memory>

namespace Ui {
class PendingPage;
}

// Stands in for a wizard page that has not been built yet. It carries the page's class name as
// its object name and shows it, and offers the buttons and outcomes the page will have
// (PageOutcomes), so the wizard can be walked through it.
class PendingPage : public QWidget
{
    Q_OBJECT

public:
    explicit PendingPage(PageId id, QWidget *parent = nullptr);
    ~PendingPage() override;

    PageId pageId() const { return m_id; }

    // Shows exactly the outcomes the page offers now.
    void refreshOutcomes();

private:
    std::unique_ptr<Ui::PendingPage> ui;
    PageId m_id;
};
