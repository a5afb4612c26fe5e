#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class ProductsUninstalledPage;
}

// Reports, map by map in the order they were removed, whether each is gone from the computer.
class ProductsUninstalledPage : public QWidget
{
    Q_OBJECT

public:
    explicit ProductsUninstalledPage(QWidget *parent = nullptr);
    ~ProductsUninstalledPage() override;

private:
    std::unique_ptr<Ui::ProductsUninstalledPage> ui;
};
