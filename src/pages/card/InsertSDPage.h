#pragma once

#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace Ui {
class InsertSDPage;
}

class CardSafetyCopy;

// Asks for the current card and offers the drives that can hold it: removable drives whose map
// is this card's, or that carry no map yet, never a volume of the system's own (the one holding
// the system, the home, the program's cache or the temporary folder, or the Garmin maps folder).
// The list follows cards as they come and go without ever changing the user's choice; a
// write-protected card is refused. A card whose previous map waits on the computer since a
// failed transfer (CardSafetyCopy) gets it back as soon as it is seen, with progress.
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
    // Starts putting back a copy that waits for one of `cards`; false when none waits.
    bool putBackWaitingCopy(const QStringList &cards);
    void onPutBackFinished(bool ok);
    void setChoiceEnabled(bool enabled);

    std::unique_ptr<Ui::InsertSDPage> ui;
    QTimer drivePollTimer;
    QStringList drivePaths;
    // Folders whose volumes are never offered.
    const QStringList m_ownFolders;
    // Cards looked at for a waiting copy since they went in.
    QStringList m_cardsSeen;
    std::unique_ptr<CardSafetyCopy> m_putBack;
};
