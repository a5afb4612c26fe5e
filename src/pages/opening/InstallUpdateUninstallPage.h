#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class InstallUpdateUninstallPage;
}

// Offered when vendor maps are already installed: install or update a map, or choose maps to
// remove from the computer.
class InstallUpdateUninstallPage : public QWidget
{
    Q_OBJECT

public:
    explicit InstallUpdateUninstallPage(QWidget *parent = nullptr);
    ~InstallUpdateUninstallPage() override;

private Q_SLOTS:
    void onButtonClicked();

private:
    std::unique_ptr<Ui::InstallUpdateUninstallPage> ui;
};
