#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class InformNewPCVersionPage;
}

// Confirms the version the map on the computer has now that it is installed.
class InformNewPCVersionPage : public QWidget
{
    Q_OBJECT

public:
    explicit InformNewPCVersionPage(QWidget *parent = nullptr);
    ~InformNewPCVersionPage() override;

private:
    std::unique_ptr<Ui::InformNewPCVersionPage> ui;
};
