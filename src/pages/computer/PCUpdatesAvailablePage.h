#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class PCUpdatesAvailablePage;
}

// Tells the user that a newer map than the one installed on the computer exists, and offers it.
class PCUpdatesAvailablePage : public QWidget
{
    Q_OBJECT

public:
    explicit PCUpdatesAvailablePage(QWidget *parent = nullptr);
    ~PCUpdatesAvailablePage() override;

private:
    std::unique_ptr<Ui::PCUpdatesAvailablePage> ui;
};
