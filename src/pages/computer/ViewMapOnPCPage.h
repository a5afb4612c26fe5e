#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class ViewMapOnPCPage;
}

// After the preprogrammed cards: offers to put the map on the computer too, so that it can be
// viewed in Garmin BaseCamp, and offers BaseCamp's download when it is missing.
class ViewMapOnPCPage : public QWidget
{
    Q_OBJECT

public:
    explicit ViewMapOnPCPage(QWidget *parent = nullptr);
    ~ViewMapOnPCPage() override;

private Q_SLOTS:
    void initialization();

private:
    std::unique_ptr<Ui::ViewMapOnPCPage> ui;
};
