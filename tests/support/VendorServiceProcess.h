#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

#include <memory>

class ProductInfo;

// Runs the stand-in vendor service (tools/vendor-service) for a test, on 127.0.0.1 and a free
// port, and reads back what it was told; stopped when the object goes. Each logged request is an
// object with every query parameter as sent (decoded) plus "received_at". The sample serials are
// those of the service's Catalogue.cpp, e.g. HALV-PC-0001 (computer map), FAULT-REPORT-FAILS.
class VendorServiceProcess
{
public:
    struct Options
    {
        qint64 mapSize = 64 * 1024; // small maps make the service start at once
        QString dataDir;            // empty: a temporary folder of this object's own
        QString tlsCertificate;     // both set: the service speaks HTTPS
        QString tlsKey;
    };

    VendorServiceProcess();
    explicit VendorServiceProcess(const Options &options);
    ~VendorServiceProcess();

    // Waits until the service listens (its files generated).
    bool start();

    QUrl baseUrl() const { return m_baseUrl; }
    // Points the program at this service through HALVORNSYNC_SERVICE_URL.
    void useAsServiceAddress() const;
    QString errorString() const { return m_error; }

    // Oldest first; only those of `action` when given.
    QList<QJsonObject> requests(const QString &action = QString()) const;
    void clearRequests() const;

    // Asked for now, and logged like any request; null when the service gives no product.
    std::unique_ptr<ProductInfo> product(const QString &serial) const;

private:
    Options m_options;
    std::unique_ptr<QTemporaryDir> m_ownDataDir;
    QString m_logPath;
    QProcess m_process;
    QUrl m_baseUrl;
    QString m_error;
};
