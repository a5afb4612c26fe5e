#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class NoPCUpdatesAvailablePage;
}

// Tells the user that the map installed on the computer is current; it can be installed again.
class NoPCUpdatesAvailablePage : public QWidget
{
    Q_OBJECT

public:
    explicit NoPCUpdatesAvailablePage(QWidget *parent = nullptr);
    ~NoPCUpdatesAvailablePage() override;

private:
    std::unique_ptr<Ui::NoPCUpdatesAvailablePage> ui;
};
