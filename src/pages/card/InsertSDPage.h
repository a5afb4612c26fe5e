#pragma once

#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace Ui {
class InsertSDPage;
}

// Asks for the current card and offers the drives that can hold it: removable drives whose map
// is this card's, or that carry no map yet. The list follows cards as they come and go without
// ever changing the user's choice; a write-protected card is refused.
class InsertSDPage : public QWidget
{
    Q_OBJECT

public:
    explicit InsertSDPage(QWidget *parent = nullptr);
    ~InsertSDPage() override;

    static constexpr int pollIntervalMs = 500;

private Q_SLOTS:
    void onNeedHelpClicked();
    void onDrivePollTimerTimeout();
    void onContinueClicked();

private:
    static bool cardMatchesProduct(const QString &rootPath);
    void showReadOnlyPopup();

    std::unique_ptr<Ui::InsertSDPage> ui;
    QTimer drivePollTimer;
    QStringList drivePaths;
    QStringList driveLabels;
};
