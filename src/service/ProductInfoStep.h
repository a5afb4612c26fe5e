#pragma once

class QWidget;

// The product-information step of the wizard: asks for the product serial, fetches what the
// vendor's service knows about the product and, on success, moves the wizard on to
// UpdateFirmwarePage. It returns at once; the work goes on in the event loop. `origin` is the page
// that started the step (it is disabled while the request runs); it may be null.
namespace ProductInfoStep {

void start(QWidget *origin);

} // namespace ProductInfoStep
