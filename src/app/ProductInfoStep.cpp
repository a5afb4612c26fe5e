#include "app/ProductInfoStep.h"

#include "app/BusyState.h"
#include "app/Core.h"
#include "app/PopupDialog.h"
#include "app/RichTextResources.h"
#include "app/SerialDialog.h"
#include "service/ProductInfo.h"
#include "service/ProductInfoRequest.h"

#include <QPointer>
#include <QWidget>

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

bool ProductInfoStep::isRunning()
{
    return s_asking || s_request;
}

void ProductInfoStep::start(QWidget *origin)
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
    follow(request);
    s_request = request;
    request->send();
}

void ProductInfoStep::follow(ProductInfoRequest *request)
{
    Core *core = Core::instance();
    QObject::connect(request, &ProductInfoRequest::failed, core, &Core::showPlainError);
    QObject::connect(request, &ProductInfoRequest::unreadable, core, &Core::showError);
    QObject::connect(request, &ProductInfoRequest::productReceived, core, [core, request] {
        std::unique_ptr<ProductInfo> product = request->takeProduct();
        const QString notice = product->notice;
        core->setProductInfo(product.release());
        if (!notice.isEmpty()) {
            showNotice(notice);
        }
        core->setCurrentPage(PageId::UpdateFirmwarePage);
    });
}

void ProductInfoStep::showNotice(const QString &notice)
{
    PopupDialog dialog;
    dialog.setLeftButtonText(QString());
    dialog.setRightButtonText(tr("CONTINUE ≻"));
    dialog.setHeader(tr("Information"));
    dialog.setLinksEnabled(true);
    // Rich text on purpose: the vendor writes its notices with markup and links. What its markup
    // names is not loaded, unless it is one of our own pictures.
    dialog.setText(RichTextResources::ownOnly(
        QStringLiteral("<p align=\"center\"><img src=\":/images/info.svg\" width=\"64\" "
                       "height=\"64\"></p><p align=\"center\">%1</p>")
            .arg(notice)));
    dialog.centreOnMainWindow();
    dialog.exec();
}
