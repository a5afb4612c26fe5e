#pragma once

#include <QByteArray>
#include <QString>
#include <QVersionNumber>

// Builds small but well-formed Windows executables (PE32 or PE32+) whose version resource
// carries a chosen file version. The resource section sits at a different place in the file than
// in memory, and its root lists a named type and an icon before the version, as real programs do.
struct PeFileBuilder
{
    enum class Format
    {
        Pe32,
        Pe32Plus
    };

    // Where the parts of the built file lie, for tests that damage them.
    struct Layout
    {
        qsizetype peHeader = 0;       // "PE\0\0"
        qsizetype optionalHeader = 0; // its Magic field
        qsizetype sectionTable = 0;
        qsizetype resourceSection = 0;  // file offset of .rsrc, the root resource directory
        qsizetype versionTypeEntry = 0; // the RT_VERSION entry of the root directory
        qsizetype versionNameDirectory = 0;
        qsizetype versionDataEntry = 0; // IMAGE_RESOURCE_DATA_ENTRY of the version resource
        qsizetype versionInfo = 0;      // VS_VERSIONINFO
        qsizetype fixedFileInfo = 0;    // VS_FIXEDFILEINFO
    };

    Format format = Format::Pe32;
    QVersionNumber fileVersion{1, 0, 0, 0}; // up to four segments; missing ones are 0
    bool versionResource = true; // without it the file has resources, but no version among them

    QByteArray build(Layout *layout = nullptr) const;
    // A PE32 executable with this file version, its folders made on the way.
    static bool writeExecutable(const QString &path, const QVersionNumber &version);
};
