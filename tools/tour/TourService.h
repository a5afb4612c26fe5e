#pragma once

#include <QProcess>
#include <QString>
#include <QUrl>

// The stand-in vendor service, run for the tour on 127.0.0.1 with small sample maps; stopped
// with the object.
class TourService
{
public:
    ~TourService();

    bool start(const QString &dataDir);
    QUrl baseUrl() const { return m_baseUrl; }
    QString errorString() const { return m_error; }

private:
    QProcess m_process;
    QUrl m_baseUrl;
    QString m_error;
};
