#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class GPSDataExtractedPage;
}

// Says where the additional GPS data was unpacked and offers the vendor's import instructions.
class GPSDataExtractedPage : public QWidget
{
    Q_OBJECT

public:
    explicit GPSDataExtractedPage(QWidget *parent = nullptr);
    ~GPSDataExtractedPage() override;

private:
    std::unique_ptr<Ui::GPSDataExtractedPage> ui;
};
