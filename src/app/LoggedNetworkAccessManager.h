#pragma once

#include <QNetworkAccessManager>

// The program's one network access manager (Core owns it): every request that the service steps
// and the downloads send is written to the support log with its address, serial masked, as it
// leaves.
class LoggedNetworkAccessManager : public QNetworkAccessManager
{
    Q_OBJECT

public:
    using QNetworkAccessManager::QNetworkAccessManager;

protected:
    QNetworkReply *createRequest(Operation operation, const QNetworkRequest &request,
                                 QIODevice *outgoingData) override;
};
