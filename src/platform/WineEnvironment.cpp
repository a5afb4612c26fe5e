#include "platform/WineEnvironment.h"

#include "platform/WineRegistryFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

WineEnvironment::WineEnvironment(QString prefix, QString wine, QString user)
    : m_prefix(std::move(prefix))
    , m_wine(std::move(wine))
    , m_user(std::move(user))
{
    while (m_prefix.size() > 1 && m_prefix.endsWith(QLatin1Char('/'))) {
        m_prefix.chop(1);
    }
}

WineEnvironment WineEnvironment::fromSystem()
{
    QString prefix = qEnvironmentVariable("WINEPREFIX");
    if (prefix.isEmpty()) {
        prefix = QDir::homePath() + QStringLiteral("/.wine");
    }
    // As Wine itself asks, so the user folder is the one it makes.
    const passwd *account = ::getpwuid(::getuid());
    const QString user =
        account ? QString::fromLocal8Bit(account->pw_name) : qEnvironmentVariable("USER");
    return WineEnvironment(prefix, QStandardPaths::findExecutable(QStringLiteral("wine")), user);
}

bool WineEnvironment::hasPrefix() const
{
    return hasWine() && QFileInfo(m_prefix + QStringLiteral("/dosdevices")).isDir() &&
           QFileInfo(m_prefix + QStringLiteral("/drive_c")).isDir();
}

QString WineEnvironment::nativePath(const QString &windowsPath) const
{
    static const QRegularExpression drive(QStringLiteral(R"(^([A-Za-z]):[/\\])"));
    const QRegularExpressionMatch match = drive.match(windowsPath);
    if (!match.hasMatch()) {
        return windowsPath;
    }
    const QChar letter = match.capturedView(1).front().toLower();
    QString rest = windowsPath.mid(match.capturedLength());
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString root = letter == QLatin1Char('c') ? m_prefix + QStringLiteral("/drive_c/")
                                                    : m_prefix + QStringLiteral("/dosdevices/") +
                                                          letter + QStringLiteral(":/");
    return root + rest;
}

QString WineEnvironment::roamingAppDataFolder() const
{
    // The Windows user's name need not be the Linux user's: a prefix may have been made by
    // another account or copied from another machine.
    const std::optional<QString> appData =
        WineRegistryFile(m_prefix + QStringLiteral("/user.reg"))
            .stringValue(u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                         u"AppData");
    // Only a value with a drive letter names a place: nativePath() leaves anything else as it is.
    const QString named = appData ? nativePath(*appData) : QString();
    if (!named.isEmpty() && named != *appData) {
        return named;
    }
    // Wine writes its registry files only when its server stops, so a new prefix may have none.
    const QDir users(m_prefix + QStringLiteral("/drive_c/users"));
    const auto roamingOf = [&users](const QString &user) {
        return users.filePath(user + QStringLiteral("/AppData/Roaming"));
    };
    QStringList roaming;
    for (const QString &user : users.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (user.compare(QStringLiteral("Public"), Qt::CaseInsensitive) != 0 &&
            QFileInfo(roamingOf(user)).isDir()) {
            roaming.append(roamingOf(user));
        }
    }
    if (roaming.size() == 1) {
        return roaming.front();
    }
    // Nothing else tells, as before Wine has made the prefix (BaseCamp's installer is often what
    // makes it): the folder Wine makes for the Linux user who runs it.
    return m_user.isEmpty() ? QString() : roamingOf(m_user);
}

std::optional<WineEnvironment::Command> WineEnvironment::launchCommand(const QString &program) const
{
    QString path = program;
    // The stored Garmin program paths carry quotes so Windows reads them as one name.
    if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"'))) {
        path = path.mid(1, path.size() - 2);
    }
    if (path.isEmpty()) {
        return std::nullopt;
    }
    path = nativePath(path);
    if (!path.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive)) {
        return Command{path, {}};
    }
    if (!hasWine()) {
        return std::nullopt;
    }
    return Command{m_wine, {path}};
}

WineEnvironment::Command WineEnvironment::toolCommand(const QString &tool,
                                                      const QStringList &arguments) const
{
    return Command{m_wine, QStringList{tool} + arguments};
}
