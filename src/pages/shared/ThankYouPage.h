#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class ThankYouPage;
}

// The end of the wizard: links to Garmin BaseCamp (when it is installed) and to the vendor's
// learning centre, another product, or exit.
class ThankYouPage : public QWidget
{
    Q_OBJECT

public:
    explicit ThankYouPage(QWidget *parent = nullptr);
    ~ThankYouPage() override;

private Q_SLOTS:
    void onLearningCenterButtonClicked();

private:
    std::unique_ptr<Ui::ThankYouPage> ui;
};
