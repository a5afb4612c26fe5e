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

    // Prints what --help or --version asks for, or what is wrong, for a reading with an exit
    // code, and returns that code.
    static int finish(const Reading &reading);
    // Opens the support log the reading names, or the default one; says so when it cannot.
    static void openSupportLog(const Reading &reading);
};
