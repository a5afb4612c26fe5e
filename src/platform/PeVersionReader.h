#pragma once

#include <QByteArrayView>
#include <QString>
#include <QVersionNumber>

#include <optional>

// Reads the fixed file version from the version resource of a Windows executable (PE32 or
// PE32+), without Windows. The file is untrusted input: every offset is checked against the
// bytes at hand, and a truncated or malformed file gives no version, never a crash.
namespace PeVersionReader {

// The file version as major.minor.build, as Windows' version API would report it.
std::optional<QVersionNumber> fromBytes(QByteArrayView bytes);
std::optional<QVersionNumber> fromFile(const QString &path);

// The three segments we use of VS_FIXEDFILEINFO's dwFileVersionMS and dwFileVersionLS: the
// fourth, lowest word is left out.
QVersionNumber fromFixedFileVersion(quint32 mostSignificant, quint32 leastSignificant);

} // namespace PeVersionReader
