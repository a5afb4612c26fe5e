#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class UpdateFirmwarePage;
}

// Asks the user to update the GPS unit's firmware before anything is installed, then sends card
// products to their cards and computer products through the BaseCamp check.
class UpdateFirmwarePage : public QWidget
{
    Q_OBJECT

public:
    explicit UpdateFirmwarePage(QWidget *parent = nullptr);
    ~UpdateFirmwarePage() override;

private Q_SLOTS:
    void onNextButtonClicked();

private:
    std::unique_ptr<Ui::UpdateFirmwarePage> ui;
};
