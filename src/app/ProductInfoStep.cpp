#include "app/ProductInfoStep.h"

#include "app/BusyState.h"
#include "app/Core.h"
#include "app/SerialDialog.h"
#include "service/ProductInfoRequest.h"

#include <QPointer>
#include <QWidget>

namespace ProductInfoStep {

namespace {
bool s_asking = false;
QPointer<ProductInfoRequest> s_request;

// Asks for the serial, offering the one last used in this run; empty when the user went back.
QString askSerial()
{
    s_asking = true;
    SerialDialog dialog;
    dialog.setSerial(Core::instance()->productSerial());
    const bool accepted = dialog.exec() == QDialog::Accepted;
    s_asking = false;
    return accepted ? dialog.serial() : QString();
}
} // namespace

bool isRunning()
{
    return s_asking || s_request;
}

void start(QWidget *origin)
{
    if (isRunning()) {
        return;
    }
    const QPointer<QWidget> guardedOrigin(origin);
    const QString serial = askSerial();
    if (serial.isEmpty()) {
        return;
    }
    Core *core = Core::instance();
    core->setProductSerial(serial);

    auto *request = new ProductInfoRequest(serial, core);
    auto *busy = new BusyState(guardedOrigin, request);
    QObject::connect(request, &ProductInfoRequest::replied, busy, &BusyState::end);
    s_request = request;
    request->send();
}

} // namespace ProductInfoStep
