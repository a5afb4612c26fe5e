#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class CloseGarminPage;
}
class QMovie;

// The step before a map is installed on the computer: closes Garmin BaseCamp, sets its "Detail"
// setting, asks card owners whether they want the map on the computer at all, finds the installed
// copy of the product and moves on to the update, reinstall or first-installation page.
class CloseGarminPage : public QWidget
{
    Q_OBJECT

public:
    explicit CloseGarminPage(QWidget *parent = nullptr);
    ~CloseGarminPage() override;

    // Finds the installed copy of the current product and publishes its version as the main
    // window's "PC_MAP_VERSION". Without an installed copy it moves the wizard on to
    // DownloadMapPCPage and returns false; this page is gone by then.
    bool lookUpInstalledVersion();

private Q_SLOTS:
    void Initialization();

private:
    void continueAfterBaseCamp();

    std::unique_ptr<Ui::CloseGarminPage> ui;
    QMovie *m_movie = nullptr;
};
