#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class TransferToGPS3Page;
}

// Starts Garmin MapInstall for the transfer of the map to the GPS unit and waits for the user to
// come back when it is done.
class TransferToGPS3Page : public QWidget
{
    Q_OBJECT

public:
    explicit TransferToGPS3Page(QWidget *parent = nullptr);
    ~TransferToGPS3Page() override;

private Q_SLOTS:
    void Initialization();

private:
    std::unique_ptr<Ui::TransferToGPS3Page> ui;
};
