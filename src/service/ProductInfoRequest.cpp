#include "service/ProductInfoRequest.h"

#include "service/NetworkErrorText.h"
#include "service/ProductInfoReply.h"
#include "service/ReplyTimeout.h"
#include "service/ServiceContext.h"
#include "service/ServiceRequests.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

ProductInfoRequest::ProductInfoRequest(const QString &serial, QObject *parent)
    : QObject(parent)
    , m_serial(serial)
{
}

ProductInfoRequest::~ProductInfoRequest() = default;

void ProductInfoRequest::send()
{
    QNetworkAccessManager *manager = ServiceContext::networkManager();
    if (!manager) {
        endRequest();
        deleteLater();
        return;
    }
    QNetworkRequest request(
        ServiceRequests::productInfoUrl(m_serial, ServiceContext::languageCode()));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    QNetworkReply *reply = manager->get(request);
    ReplyTimeout::abortWhenSilent(reply);
    connect(reply, &QNetworkReply::errorOccurred, this, [this, reply] { onErrorOccurred(reply); });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onFinished(reply); });
}

std::unique_ptr<ProductInfo> ProductInfoRequest::takeProduct()
{
    return std::move(m_product);
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
    // A receiver may run a nested event loop (a pop-up): nothing of this object is used after it.
    Q_EMIT failed(ReplyTimeout::gaveUp(reply) ? tr("The service did not answer.")
                                              : NetworkErrorText::of(reply));
}

void ProductInfoRequest::onFinished(QNetworkReply *reply)
{
    // onErrorOccurred has told of a failed reply already.
    if (reply->error() == QNetworkReply::NoError) {
        endRequest();
        actOn(ProductInfoReply::interpret(reply->readAll()));
    }
    reply->deleteLater();
    deleteLater();
}

void ProductInfoRequest::actOn(ProductInfoReply answer)
{
    switch (answer.kind) {
    case ProductInfoReply::Kind::ServiceError:
        Q_EMIT failed(answer.message);
        return;
    case ProductInfoReply::Kind::Corrupted:
        Q_EMIT unreadable(answer.message);
        return;
    case ProductInfoReply::Kind::Product:
        answer.product->productSerial = m_serial;
        m_product = std::move(answer.product);
        Q_EMIT productReceived();
        return;
    }
}
