#include "pages/computer/SelectProductsPage.h"

#include "app/Core.h"
#include "app/PageLink.h"

#include "ui_SelectProductsPage.h"

#include <QStandardItemModel>

SelectProductsPage::SelectProductsPage(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::SelectProductsPage>())
    , m_model(std::make_unique<QStandardItemModel>())
{
    ui->setupUi(this);
    ui->HeaderLabel->setText(ui->HeaderLabel->text().arg(Core::computerWord()));
    for (const QString &folder : Core::instance()->installedMapFolders()) {
        auto *item = new QStandardItem(folder);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        item->setCheckState(Qt::Unchecked);
        m_model->appendRow(item);
    }
    ui->MapsListView->setModel(m_model.get());
    // A screen reader names the list by the header above it; each item by its folder name.
    ui->MapsListView->setAccessibleName(ui->HeaderLabel->text());
    connect(m_model.get(), &QStandardItemModel::itemChanged, this,
            &SelectProductsPage::onTreeViewItemChanged);
    PageLink::goOnClick(ui->BackButton, PageId::InstallUpdateUninstallPage);
    connect(ui->UninstallButton, &QPushButton::clicked, this,
            &SelectProductsPage::prepareUninstall);
}

SelectProductsPage::~SelectProductsPage() = default;

void SelectProductsPage::onTreeViewItemChanged(QStandardItem *item)
{
    // The selection keeps the order of the ticks, which is the order of removal.
    if (item->checkState() == Qt::Checked) {
        if (!m_selection.contains(item->text())) {
            m_selection.append(item->text());
        }
    } else {
        m_selection.removeAll(item->text());
    }
    ui->UninstallButton->setEnabled(!m_selection.isEmpty());
}

void SelectProductsPage::prepareUninstall()
{
    Core::instance()->setMapsToUninstall(m_selection);
    Core::instance()->setCurrentPage(PageId::UninstallingPage);
}
