#include "maps/MapInfoFile.h"

#include <QRegularExpression>

#include <pugixml.hpp>

namespace {

pugi::xml_node rootOf(const pugi::xml_document &document)
{
    return document.first_child();
}

void load(pugi::xml_document &document, const QString &path)
{
    // The result is not looked at on purpose: a damaged file still yields what was parsed.
    // The wide-character overload opens the file by its Unicode name on Windows too, where the
    // maps folder lies under the user's name and 8-bit names would miss accented ones.
    document.load_file(path.toStdWString().c_str());
}

QString textOf(const pugi::xml_node &element)
{
    return QString::fromUtf8(element.text().get());
}

} // namespace

namespace MapInfoFile {

int readId(const QString &path)
{
    pugi::xml_document document;
    load(document, path);
    const pugi::xml_node id = rootOf(document).child("ID");
    if (!id) {
        return -1;
    }
    bool ok = false;
    const int value = textOf(id).toInt(&ok, 10);
    return ok ? value : -1;
}

QVersionNumber readVersion(const QString &path)
{
    pugi::xml_document document;
    load(document, path);
    return versionInName(textOf(rootOf(document).child("SubProduct").child("Name")));
}

QVersionNumber versionInName(const QString &name)
{
    // The dots are deliberately unescaped: "2024 10" matches whole, and the version is then read
    // only up to the space.
    static const QRegularExpression pattern(
        QStringLiteral(R"re((\d+(.\d+){0,1}(.\d+){0,1}){1,1})re"));
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch()) {
        return {};
    }
    return QVersionNumber::fromString(match.captured(0));
}

} // namespace MapInfoFile
