#include "service/ProductInfoStep.h"

#include "app/Core.h"

#include <QWidget>

namespace ProductInfoStep {

// Until the service requests exist the step goes straight on, so the wizard can be walked.
void start(QWidget *)
{
    Core::instance()->setCurrentPage(PageId::UpdateFirmwarePage);
}

} // namespace ProductInfoStep
