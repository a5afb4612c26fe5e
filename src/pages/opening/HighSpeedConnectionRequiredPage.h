#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class HighSpeedConnectionRequiredPage;
}

// The warning before the product-information step: the maps are large downloads.
class HighSpeedConnectionRequiredPage : public QWidget
{
    Q_OBJECT

public:
    explicit HighSpeedConnectionRequiredPage(QWidget *parent = nullptr);
    ~HighSpeedConnectionRequiredPage() override;

private:
    std::unique_ptr<Ui::HighSpeedConnectionRequiredPage> ui;
};
