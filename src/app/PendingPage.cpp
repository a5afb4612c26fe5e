#include "app/PendingPage.h"

#include "app/PageOutcomes.h"

#include "ui_PendingPage.h"

#include <QPushButton>
#include <QTimer>

#include <algorithm>

PendingPage::PendingPage(PageId id, QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::PendingPage>())
    , m_id(id)
{
    ui->setupUi(this);
    setObjectName(pageClassName(id));
    ui->PageNameLabel->setText(pageClassName(id));

    const PageBehaviour behaviour = PageOutcomes::of(id);
    ui->NoteLabel->setVisible(!behaviour.outcomes.isEmpty() || behaviour.start);
    for (const PageOutcome &outcome : behaviour.outcomes) {
        auto *button =
            new QPushButton(PageOutcomes::translate(id, outcome.text), ui->OutcomesWidget);
        button->setObjectName(QLatin1String(outcome.objectName));
        button->setFixedHeight(54);
        ui->outcomesLayout->addWidget(button);
        // The action may replace this page; it must be the last thing the click does.
        connect(button, &QPushButton::clicked, this, [this, act = outcome.act] { act(this); });
    }
    refreshOutcomes();

    if (behaviour.start) {
        // Scheduled, so the page is painted before a question or a page switch.
        QTimer::singleShot(std::max(behaviour.startDelayMs, 0), this,
                           [this, start = behaviour.start] { start(this); });
    }
}

PendingPage::~PendingPage() = default;

void PendingPage::refreshOutcomes()
{
    const PageBehaviour behaviour = PageOutcomes::of(m_id);
    for (const PageOutcome &outcome : behaviour.outcomes) {
        auto *button = ui->OutcomesWidget->findChild<QPushButton *>(
            QLatin1String(outcome.objectName), Qt::FindDirectChildrenOnly);
        if (button) {
            button->setVisible(!outcome.offered || outcome.offered(this));
        }
    }
}
