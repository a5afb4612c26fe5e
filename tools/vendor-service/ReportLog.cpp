#include "ReportLog.h"

#include <QFile>
#include <QJsonDocument>

ReportLog::ReportLog(const QString &path)
    : m_path(path)
{
}

bool ReportLog::append(const QJsonObject &entry)
{
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        return false;
    }
    const QByteArray line = QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n';
    return file.write(line) == line.size();
}
