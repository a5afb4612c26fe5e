// Writes Windows executables into the folder given as the only argument, with "expected.txt":
// one line per file, its path in that folder, a tab, and the file version the portable reader
// finds ("none" without one). The Windows check program compares Windows' own answer with it.

#include "PeFileBuilder.h"
#include "TestFiles.h"
#include "platform/PeVersionReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (app.arguments().size() != 2) {
        qCritical("usage: halvornsync_pe_samples FOLDER");
        return 2;
    }
    using Pe = PeFileBuilder;
    const QByteArray program = Pe{.fileVersion = {4, 7, 5, 0}}.build();
    const QList<std::pair<QString, QByteArray>> samples = {
        {"BaseCamp.exe", program},
        {"MapInstall x64.exe",
         Pe{.format = Pe::Format::Pe32Plus, .fileVersion = {4, 3, 1, 900}}.build()},
        {"All words.exe", Pe{.fileVersion = {65535, 65534, 65533, 65532}}.build()},
        // Neither Latin-1 nor the usual ANSI code pages hold these names: only the wide
        // functions find the file.
        {"Användare Ωμέγα/Garmin/BaseCamp.exe", Pe{.fileVersion = {4, 8, 2}}.build()},
        {"No version.exe", Pe{.fileVersion = {1, 0}, .versionResource = false}.build()},
        {"Truncated.exe", program.left(0x300)},
    };

    const QDir folder(app.arguments().at(1));
    QFile expected(folder.filePath(QStringLiteral("expected.txt")));
    if (!folder.mkpath(QStringLiteral(".")) || !expected.open(QIODevice::WriteOnly)) {
        qCritical("cannot write into %s", qPrintable(folder.path()));
        return 1;
    }
    QTextStream out(&expected);
    for (const auto &[name, bytes] : samples) {
        const QString path = folder.filePath(name);
        if (!TestFiles::write(path, bytes)) {
            qCritical("cannot write %s", qPrintable(path));
            return 1;
        }
        const std::optional<QVersionNumber> version = PeVersionReader::fromFile(path);
        out << name << '\t' << (version ? version->toString() : QStringLiteral("none")) << '\n';
    }
    return 0;
}
