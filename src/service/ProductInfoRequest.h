#pragma once

#include <QObject>
#include <QString>

class QNetworkReply;
struct ProductInfoReply;

// Fetches the product information for one serial and acts on the answer: on success Core gets the
// new record, the product's notice is shown if it has one, and the wizard moves on to
// UpdateFirmwarePage; on any failure the error pop-up is shown and the wizard stays where it is,
// with Core's previous record untouched. Deletes itself when its reply has ended.
class ProductInfoRequest : public QObject
{
    Q_OBJECT

public:
    explicit ProductInfoRequest(const QString &serial, QObject *parent = nullptr);

    void send();

Q_SIGNALS:
    // The reply has come back (or failed): the request no longer runs. Emitted once, before any
    // pop-up is shown.
    void replied();

private:
    void onErrorOccurred(QNetworkReply *reply);
    void onFinished(QNetworkReply *reply);
    void endRequest();
    void actOn(ProductInfoReply answer);
    static void showNotice(const QString &notice);

    QString m_serial;
    bool m_replied = false;
};
