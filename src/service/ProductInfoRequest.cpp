#include "service/ProductInfoRequest.h"

#include "app/Core.h"
#include "app/PopupDialog.h"
#include "app/RichTextResources.h"
#include "service/NetworkErrorText.h"
#include "service/ProductInfoReply.h"
#include "service/ReplyTimeout.h"
#include "service/ServiceRequests.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

ProductInfoRequest::ProductInfoRequest(const QString &serial, QObject *parent)
    : QObject(parent)
    , m_serial(serial)
{
}

void ProductInfoRequest::send()
{
    QNetworkAccessManager *manager = Core::instance()->networkManager();
    if (!manager) {
        endRequest();
        deleteLater();
        return;
    }
    QNetworkRequest request(ServiceRequests::productInfoUrl(m_serial, Core::languageCode()));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    QNetworkReply *reply = manager->get(request);
    ReplyTimeout::abortWhenSilent(reply);
    connect(reply, &QNetworkReply::errorOccurred, this, [this, reply] { onErrorOccurred(reply); });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onFinished(reply); });
}

void ProductInfoRequest::endRequest()
{
    if (!m_replied) {
        m_replied = true;
        Q_EMIT replied();
    }
}

void ProductInfoRequest::onErrorOccurred(QNetworkReply *reply)
{
    endRequest();
    const QString message = ReplyTimeout::gaveUp(reply) ? tr("The service did not answer.")
                                                        : NetworkErrorText::of(reply);
    // Runs a nested event loop: nothing of this object is used after it.
    Core::instance()->showPlainError(message);
}

void ProductInfoRequest::onFinished(QNetworkReply *reply)
{
    // onErrorOccurred has shown a failed reply already.
    if (reply->error() == QNetworkReply::NoError) {
        endRequest();
        actOn(ProductInfoReply::interpret(reply->readAll()));
    }
    reply->deleteLater();
    deleteLater();
}

void ProductInfoRequest::actOn(ProductInfoReply answer)
{
    Core *core = Core::instance();
    if (answer.kind == ProductInfoReply::Kind::ServiceError) {
        core->showPlainError(answer.message);
        return;
    }
    if (answer.kind != ProductInfoReply::Kind::Product) {
        core->showError(answer.message);
        return;
    }
    answer.product->productSerial = m_serial;
    const QString notice = answer.product->notice;
    core->setProductInfo(answer.product.release());
    if (!notice.isEmpty()) {
        showNotice(notice);
    }
    core->setCurrentPage(PageId::UpdateFirmwarePage);
}

void ProductInfoRequest::showNotice(const QString &notice)
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
