#include "TourSandbox.h"

#include "app/Core.h"

#include <QDir>
#include <QFile>

TourSandbox::TourSandbox()
    : m_dir(QDir::tempPath() + QStringLiteral("/halvornsync-tour-XXXXXX"))
{
    const QString home = m_dir.path();
    const auto set = [&home](const char *variable, const QString &relative) {
        const QString path = relative.isEmpty() ? home : home + QLatin1Char('/') + relative;
        QDir().mkpath(path);
        qputenv(variable, QFile::encodeName(path));
    };
    set("HOME", QString());
    set("XDG_CONFIG_HOME", QStringLiteral(".config"));
    set("XDG_DATA_HOME", QStringLiteral(".local/share"));
    set("XDG_CACHE_HOME", QStringLiteral(".cache"));
    set("TMPDIR", QStringLiteral("tmp"));
    set("XDG_RUNTIME_DIR", QStringLiteral("runtime"));
    QFile::setPermissions(home + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir().mkpath(home + QStringLiteral("/Downloads"));
}

bool TourSandbox::addInstalledMap(const QString &folder, int familyId, const QString &name)
{
    const QString path = Core::garminMapsFolder() + QLatin1Char('/') + folder;
    if (!QDir().mkpath(path)) {
        return false;
    }
    QFile info(path + QStringLiteral("/Info.xml"));
    if (!info.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    const QString xml =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                       "<MapProduct xmlns=\"http://www.garmin.com/xmlschemas/MapProduct/v1\">\n"
                       "  <Name>%2</Name>\n"
                       "  <ID>%1</ID>\n"
                       "  <SubProduct>\n"
                       "    <Name>%2</Name>\n"
                       "    <ID>%1</ID>\n"
                       "  </SubProduct>\n"
                       "</MapProduct>\n")
            .arg(familyId)
            .arg(name.toHtmlEscaped());
    return info.write(xml.toUtf8()) > 0;
}

QString TourSandbox::makeCard(const QString &name, std::optional<int> familyId)
{
    const QString root = QDir::homePath() + QLatin1Char('/') + name;
    const QString map = root + QStringLiteral("/garmin/gmapsupp.img");
    QDir().mkpath(root + QStringLiteral("/garmin"));
    QFile::remove(map);
    if (familyId) {
        // Only the family number matters to the program: four hexadecimal digits at byte 4613.
        QByteArray image(8192, '\0');
        image.replace(4613, 4, QByteArray::number(*familyId, 16).rightJustified(4, '0'));
        QFile file(map);
        if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size()) {
            return {};
        }
    }
    return root;
}
