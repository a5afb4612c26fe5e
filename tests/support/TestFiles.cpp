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

QByteArray mapInfo(qint32 family, const QString &name)
{
    QByteArray xml = "<MapProduct><ID>" + QByteArray::number(family) + "</ID>";
    if (!name.isEmpty()) {
        xml += "<SubProduct><Name>" + name.toUtf8() + "</Name></SubProduct>";
    }
    return xml + "</MapProduct>";
}

} // namespace TestFiles
