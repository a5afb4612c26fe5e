#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Where Garmin's Windows programs live on Linux: in a Wine prefix, started through wine. Knows
// the prefix and the wine program and turns Windows paths and program names into what Linux
// runs; it starts nothing itself.
class WineEnvironment
{
public:
    struct Command
    {
        QString program;
        QStringList arguments;
    };

    // `wine` is the path of the wine program, empty when Wine is not installed; `user` the Linux
    // user's name, after which Wine names the Windows user of a prefix it makes.
    WineEnvironment(QString prefix, QString wine, QString user = {});

    // The prefix named by $WINEPREFIX, else ~/.wine, wine as found on the PATH, and the user
    // Wine takes the name from (the account's name, else $USER).
    static WineEnvironment fromSystem();

    bool hasWine() const { return !m_wine.isEmpty(); }

    // Wine is installed and has made its prefix. Wine would create a missing prefix on first use,
    // and no Garmin program or setting can be in a prefix that does not exist yet. Folders we
    // made in it ourselves (the maps folder) do not make it a prefix: only Wine's own drive links.
    bool hasPrefix() const;

    // "C:/..." lies in the prefix's drive_c, other drive letters in its dosdevices folder;
    // backslashes become slashes. Paths without a drive letter are returned as they are.
    QString nativePath(const QString &windowsPath) const;

    // How to start `program` (possibly wrapped in double quotes, possibly a Windows path):
    // ".exe" programs run through wine, others directly. Nothing when a Windows program is to be
    // started and Wine is missing.
    std::optional<Command> launchCommand(const QString &program) const;

    // The roaming application-data folder of the prefix's Windows user, as a path of this system:
    // where Garmin's programs in the prefix look for maps. Taken from the prefix's own registry
    // (the user's shell folders), else from its only user folder, else, as in a prefix not made
    // yet, the folder Wine makes for the Linux user. Empty when none of these tells.
    QString roamingAppDataFolder() const;

    // One of Wine's own Windows tools ("taskkill", "reg") with its arguments.
    Command toolCommand(const QString &tool, const QStringList &arguments) const;

private:
    QString m_prefix;
    QString m_wine;
    QString m_user;
};
