#pragma once

class QWidget;

// The product-information step of the wizard: asks for the product serial, fetches what the
// vendor's service knows about the product and, on success, moves the wizard on to
// UpdateFirmwarePage. It returns at once; the work goes on in the event loop. `origin` is the page
// that started the step (it is disabled while the request runs); it may be null.
//
// One step at a time: a call while the serial is being asked for or a request runs does nothing.
// BACK in the serial pop-up, and every failure, leave the user on `origin`, from where the step
// can be started again.
namespace ProductInfoStep {

void start(QWidget *origin);

// True while the serial pop-up is open or the request runs.
bool isRunning();

} // namespace ProductInfoStep
