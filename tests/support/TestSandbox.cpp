#include "TestSandbox.h"

#include "SampleMapFiles.h"
#include "TestFiles.h"
#include "app/Core.h"
#include "maps/CardImage.h"

#include <QDir>

TestSandbox::TestSandbox(const QString &name)
    : m_dir(QDir::tempPath() + QLatin1Char('/') + name + QStringLiteral("-XXXXXX"))
{
    const QString home = m_dir.path();
    const auto set = [&home](const char *name, const QString &relative) {
        const QString path = relative.isEmpty() ? home : home + QLatin1Char('/') + relative;
        QDir().mkpath(path);
        qputenv(name, QFile::encodeName(path));
    };
    set("HOME", QString());
    set("XDG_CONFIG_HOME", QStringLiteral(".config"));
    set("XDG_DATA_HOME", QStringLiteral(".local/share"));
    set("XDG_CACHE_HOME", QStringLiteral(".cache"));
    set("XDG_STATE_HOME", QStringLiteral(".local/state"));
    set("TMPDIR", QStringLiteral("tmp"));
    set("XDG_RUNTIME_DIR", QStringLiteral("runtime"));
    QFile::setPermissions(home + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir().mkpath(home + QStringLiteral("/Downloads"));
    // Garmin's programs under Wine, and so the Garmin maps folder, are looked for in $WINEPREFIX.
    qunsetenv("WINEPREFIX");
    // Tests talk only to services they start themselves. Left at the built-in https address, the
    // first use of Core would pre-connect to the real service; a test that ends a moment later
    // exits with that host lookup still running on Qt's own threads.
    qputenv("HALVORNSYNC_SERVICE_URL", "http://127.0.0.1:9");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

bool TestSandbox::addInstalledMap(const QString &folder, int familyId, const QString &name)
{
    return TestFiles::write(Core::garminMapsFolder() + QLatin1Char('/') + folder +
                                QStringLiteral("/Info.xml"),
                            SampleMapFiles::infoXml(familyId, name));
}

QString TestSandbox::makeCard(const QString &name, std::optional<int> familyId)
{
    const QString root = QDir::homePath() + QLatin1Char('/') + name;
    QFile::remove(CardImage::path(root));
    const bool made =
        familyId ? TestFiles::write(CardImage::path(root), SampleMapFiles::cardImage(*familyId))
                 : QDir().mkpath(root + QStringLiteral("/garmin"));
    return made ? root : QString();
}
