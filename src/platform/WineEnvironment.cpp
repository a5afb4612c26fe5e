#include "platform/WineEnvironment.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

WineEnvironment::WineEnvironment(QString prefix, QString wine)
    : m_prefix(std::move(prefix))
    , m_wine(std::move(wine))
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
    return WineEnvironment(prefix, QStandardPaths::findExecutable(QStringLiteral("wine")));
}

bool WineEnvironment::hasPrefix() const
{
    return hasWine() && QFileInfo(m_prefix + QStringLiteral("/drive_c")).isDir();
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
