#pragma once

#include <QStringList>
#include <QWidget>

#include <memory>

class QStandardItem;
class QStandardItemModel;

namespace Ui {
class SelectProductsPage;
}

// The vendor maps installed on the computer as a check list: the user ticks the ones to remove.
// They are removed in the order they were ticked.
class SelectProductsPage : public QWidget
{
    Q_OBJECT

public:
    explicit SelectProductsPage(QWidget *parent = nullptr);
    ~SelectProductsPage() override;

private Q_SLOTS:
    void prepareUninstall();
    void onTreeViewItemChanged(QStandardItem *item);

private:
    std::unique_ptr<Ui::SelectProductsPage> ui;
    std::unique_ptr<QStandardItemModel> m_model;
    QStringList m_selection;
};
