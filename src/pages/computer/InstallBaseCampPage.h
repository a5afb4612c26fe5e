#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class InstallBaseCampPage;
}

// Starts the downloaded BaseCamp installer and waits for the user to come back once it is done.
// The installer is an outside program: it is neither watched nor deleted.
class InstallBaseCampPage : public QWidget
{
    Q_OBJECT

public:
    explicit InstallBaseCampPage(QWidget *parent = nullptr);
    ~InstallBaseCampPage() override;

private Q_SLOTS:
    void RunInstaller();

private:
    std::unique_ptr<Ui::InstallBaseCampPage> ui;
};
