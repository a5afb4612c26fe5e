#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>

// The program's options: --help, --version and --log-file. Qt's own options (-platform, -style,
// ...) have been taken out of the arguments by the application object by then.
class CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    struct Reading
    {
        // Set when the program is to end at once with this code, after printing `output`.
        std::optional<int> exitCode;
        QString output;
        QString logFile;
    };

    // `arguments` start with the program's name.
    static Reading read(const QStringList &arguments);

    // Reads the application's arguments: prints what --help or --version asks for, or what is
    // wrong, and returns the exit code; otherwise opens the support log and returns nothing, and
    // the program goes on.
    static std::optional<int> apply(const QStringList &arguments);
};
