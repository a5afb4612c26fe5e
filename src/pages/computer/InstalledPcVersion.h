#pragma once

#include <QString>

class QVersionNumber;

// The version of the current product's copy installed on the computer, as the installed-copy
// lookup found it. It is kept on the main window (its property "PC_MAP_VERSION"), so it outlives
// the page that found it and the update pages after it can show it.
namespace InstalledPcVersion {

// An empty version is published as the empty text.
void publish(const QVersionNumber &version);

// The published version as text; empty when it is unknown or nothing was published.
QString text();

} // namespace InstalledPcVersion
