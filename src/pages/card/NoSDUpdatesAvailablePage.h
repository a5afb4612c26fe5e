#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class NoSDUpdatesAvailablePage;
}

// Tells the user that the card's map is current and offers to write it again; for a card without a
// map, offers to install one.
class NoSDUpdatesAvailablePage : public QWidget
{
    Q_OBJECT

public:
    explicit NoSDUpdatesAvailablePage(QWidget *parent = nullptr);
    ~NoSDUpdatesAvailablePage() override;

private:
    std::unique_ptr<Ui::NoSDUpdatesAvailablePage> ui;
};
