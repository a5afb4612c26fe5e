#pragma once

#include <QStringList>
#include <QThread>
#include <QWidget>

#include <memory>

class Worker;

namespace Ui {
class UninstallingPage;
}

// Removes the maps the user chose, one at a time in the order they were ticked, on a thread of
// its own, showing which one it is at; then hands the outcome of each to the report page.
class UninstallingPage : public QWidget
{
    Q_OBJECT

public:
    explicit UninstallingPage(QWidget *parent = nullptr);
    // Waits for a deletion in progress: a folder is never left half handled by a page that is gone.
    ~UninstallingPage() override;

private Q_SLOTS:
    void uninstallNextMap();
    void onMapUninstallationResult(const QString &result);

private:
    std::unique_ptr<Ui::UninstallingPage> ui;
    QThread m_thread;
    std::unique_ptr<Worker> m_worker;
    // One HTML line per map started: its name, then how it went.
    QStringList m_results;
};
