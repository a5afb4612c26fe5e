#include "app/PendingPage.h"

#include <QLabel>
#include <QVBoxLayout>

PendingPage::PendingPage(PageId id, QWidget *parent)
    : QWidget(parent)
    , m_id(id)
{
    setObjectName(pageClassName(id));
    auto *layout = new QVBoxLayout(this);
    auto *name = new QLabel(pageClassName(id), this);
    name->setObjectName(QStringLiteral("PageNameLabel"));
    name->setAlignment(Qt::AlignCenter);
    name->setWordWrap(true);
    layout->addWidget(name);
}
