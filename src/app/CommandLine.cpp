#include "app/CommandLine.h"

#include "app/SupportLog.h"
#include "halvornsync/Version.h"

#include <QCommandLineParser>
#include <QDir>

#include <cstdio>

CommandLine::Reading CommandLine::read(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        tr("Installs, updates and uninstalls Halvorn maps for Garmin GPS units."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  tr("Shows these options."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     tr("Shows the version."));
    const QCommandLineOption logFile(QStringLiteral("log-file"),
                                     tr("Writes the support log to <file> instead of %1.")
                                         .arg(QDir::toNativeSeparators(SupportLog::defaultPath())),
                                     tr("file"));
    parser.addOptions({help, version, logFile});

    if (!parser.parse(arguments)) {
        return {2, parser.errorText() + QLatin1Char('\n') + parser.helpText(), {}};
    }
    if (parser.isSet(help)) {
        return {0, parser.helpText(), {}};
    }
    if (parser.isSet(version)) {
        return {0, QStringLiteral("HalvornSync %1\n").arg(QLatin1String(ProgramVersion::full)), {}};
    }
    if (!parser.positionalArguments().isEmpty()) {
        return {2,
                tr("Unexpected argument: %1").arg(parser.positionalArguments().constFirst()) +
                    QLatin1Char('\n') + parser.helpText(),
                {}};
    }
    return {std::nullopt, {}, parser.isSet(logFile) ? parser.value(logFile) : QString()};
}

int CommandLine::finish(const Reading &reading)
{
    std::fputs(qPrintable(reading.output), *reading.exitCode == 0 ? stdout : stderr);
    return *reading.exitCode;
}

void CommandLine::openSupportLog(const Reading &reading)
{
    const QString log = reading.logFile.isEmpty() ? SupportLog::defaultPath() : reading.logFile;
    if (!SupportLog::open(log)) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(tr("The support log %1 cannot be written; this run keeps none.")
                                    .arg(QDir::toNativeSeparators(log))));
    }
}
