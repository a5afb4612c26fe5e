#pragma once

#include <QObject>
#include <QString>

#include <memory>

class ProductInfo;
class QNetworkReply;
struct ProductInfoReply;

// Fetches the product information for one serial and tells how it went: the product arrived
// (productReceived, then takeProduct() hands the record over, with its serial), the request
// failed (failed, with words from outside the program: the network's, the service's own), or
// the answer could not be read (unreadable, with the program's own message). Exactly one of the
// three follows replied(). Deletes itself when its reply has ended.
class ProductInfoRequest : public QObject
{
    Q_OBJECT

public:
    explicit ProductInfoRequest(const QString &serial, QObject *parent = nullptr);
    ~ProductInfoRequest() override;

    void send();

    std::unique_ptr<ProductInfo> takeProduct();

Q_SIGNALS:
    // The reply has come back (or failed): the request no longer runs. Emitted once, first.
    void replied();
    void productReceived();
    void failed(const QString &plainText);
    void unreadable(const QString &message);

private:
    void onErrorOccurred(QNetworkReply *reply);
    void onFinished(QNetworkReply *reply);
    void endRequest();
    void actOn(ProductInfoReply answer);

    QString m_serial;
    std::unique_ptr<ProductInfo> m_product;
    bool m_replied = false;
};
