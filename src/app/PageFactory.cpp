#include "app/PageFactory.h"

#include "app/PendingPage.h"

QWidget *createPage(PageId id)
{
    switch (id) {
    default:
        return new PendingPage(id);
    }
}
