#pragma once

#include <QJsonObject>
#include <QString>

// The service's memory of what it was told: every request to its API, one JSON object per line,
// appended and flushed at once so a test or a developer can read it while the service runs.
class ReportLog
{
public:
    explicit ReportLog(const QString &path);

    bool append(const QJsonObject &entry);
    QString path() const { return m_path; }

private:
    QString m_path;
};
