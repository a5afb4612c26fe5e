#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace TestFiles {

bool write(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).absolutePath()) && file.open(QIODevice::WriteOnly) &&
           file.write(content) == content.size();
}

bool dropLines(const QString &path, const QByteArray &prefix)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    QByteArray kept;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (!line.startsWith(prefix)) {
            kept += line;
        }
    }
    file.close();
    return write(path, kept);
}

QByteArray mapInfo(qint32 family, const QString &name)
{
    QByteArray xml = "<MapProduct><ID>" + QByteArray::number(family) + "</ID>";
    if (!name.isEmpty()) {
        xml += "<SubProduct><Name>" + name.toUtf8() + "</Name></SubProduct>";
    }
    return xml + "</MapProduct>";
}

} // namespace TestFiles
