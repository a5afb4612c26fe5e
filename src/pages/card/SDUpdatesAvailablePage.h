#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class SDUpdatesAvailablePage;
}

// Tells the user that a newer map than the one the card carries exists, and offers it.
class SDUpdatesAvailablePage : public QWidget
{
    Q_OBJECT

public:
    explicit SDUpdatesAvailablePage(QWidget *parent = nullptr);
    ~SDUpdatesAvailablePage() override;

private:
    std::unique_ptr<Ui::SDUpdatesAvailablePage> ui;
};
