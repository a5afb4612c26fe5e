#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class TransferToGPS2Page;
}

// Prepares the transfer of the map to the GPS unit with Garmin MapInstall.
class TransferToGPS2Page : public QWidget
{
    Q_OBJECT

public:
    explicit TransferToGPS2Page(QWidget *parent = nullptr);
    ~TransferToGPS2Page() override;

private:
    std::unique_ptr<Ui::TransferToGPS2Page> ui;
};
