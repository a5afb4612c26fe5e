#include "service/ServiceContext.h"

#include <QLocale>
#include <QNetworkAccessManager>
#include <QPointer>

namespace ServiceContext {

namespace {
QPointer<QNetworkAccessManager> s_manager;
} // namespace

void setNetworkManager(QNetworkAccessManager *manager)
{
    s_manager = manager;
}

QNetworkAccessManager *networkManager()
{
    return s_manager.data();
}

QString languageCode()
{
    return QLocale().language() == QLocale::French ? QStringLiteral("FR") : QStringLiteral("EN");
}

} // namespace ServiceContext
