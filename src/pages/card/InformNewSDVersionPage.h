#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class InformNewSDVersionPage;
}

// Confirms the version the preprogrammed cards carry now and reports it to the vendor's service.
// The user goes on once the report has ended, whatever its outcome.
class InformNewSDVersionPage : public QWidget
{
    Q_OBJECT

public:
    explicit InformNewSDVersionPage(QWidget *parent = nullptr);
    ~InformNewSDVersionPage() override;

private Q_SLOTS:
    void InformServer();

private:
    std::unique_ptr<Ui::InformNewSDVersionPage> ui;
};
