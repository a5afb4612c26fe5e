#pragma once

#include <QTimer>
#include <QWidget>

#include <memory>

namespace Ui {
class EjectSDPage;
}

// Waits for the card to leave, then moves on: to the product's next card, or, after the last one,
// to the new version's confirmation when a card was written, else to the computer-side offer.
// The card counts as gone when its volume is no longer mounted under the same root path, or is
// mounted but not ready (a reader whose card was pulled).
class EjectSDPage : public QWidget
{
    Q_OBJECT

public:
    explicit EjectSDPage(QWidget *parent = nullptr);
    ~EjectSDPage() override;

    static constexpr int pollIntervalMs = 500;

private Q_SLOTS:
    void onDrivePollTimerTimeout();

private:
    std::unique_ptr<Ui::EjectSDPage> ui;
    QTimer ejectPollTimer;
};
