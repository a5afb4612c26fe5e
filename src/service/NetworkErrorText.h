#pragma once

#include <QCoreApplication>
#include <QString>

class QNetworkReply;

// The words a failed request is shown with: the network layer's own, except where those speak to
// a developer rather than to the user.
class NetworkErrorText
{
    Q_DECLARE_TR_FUNCTIONS(NetworkErrorText)

public:
    static QString of(const QNetworkReply *reply);
};
