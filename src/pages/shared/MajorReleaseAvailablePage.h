#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class MajorReleaseAvailablePage;
}

// Offers a new major release of the product when one is on sale, then hands over to the transfer
// to the GPS unit (computer products, after asking) or to the additional GPS data. Without an
// offer it shows nothing and moves on by itself.
class MajorReleaseAvailablePage : public QWidget
{
    Q_OBJECT

public:
    explicit MajorReleaseAvailablePage(QWidget *parent = nullptr);
    ~MajorReleaseAvailablePage() override;

private Q_SLOTS:
    void Initialization();
    void onSkipButtonClicked();

private:
    void setOfferVisible(bool visible);

    std::unique_ptr<Ui::MajorReleaseAvailablePage> ui;
};
