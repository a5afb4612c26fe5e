#pragma once

#include "app/PageId.h"

#include <QList>

#include <functional>

class PendingPage;

// What a page that has not been built yet can lead to: its buttons and the outcomes of its work,
// as the wizard's page table gives them, so every route can be walked before each page exists.
// The real page replaces its row. Texts are kept untranslated here and translated in the context
// of the page they stand for, so the real page finds its translations already there.
struct PageOutcome
{
    // The object name the real page gives the button, or a name for an outcome of its work.
    const char *objectName;
    const char *text;
    // Whether the page offers this outcome now; null means always.
    std::function<bool(const PendingPage *page)> offered;
    std::function<void(PendingPage *page)> act;
};

struct PageBehaviour
{
    // Work the page schedules on itself when it is created: after startDelayMs, if set.
    int startDelayMs = -1;
    std::function<void(PendingPage *page)> start;
    QList<PageOutcome> outcomes;
};

namespace PageOutcomes {

// The behaviour of the placeholder for `id`; empty for a page that has none (or is built).
PageBehaviour of(PageId id);

// `text` translated in the context of the page `id` stands for.
QString translate(PageId id, const char *text);

} // namespace PageOutcomes
