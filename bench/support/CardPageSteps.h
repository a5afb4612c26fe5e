#pragma once

#include <QString>

// The card page's two long steps, each run under an event loop whose longest stall is measured
// (raising `longestStallMs` when longer), as the page runs them on the GUI thread's behalf.
namespace CardPageSteps {

// Copies with FileCopier and the page's flags; true when the whole file was copied.
bool copy(const QString &source, const QString &destination, double &longestStallMs);

// Reads `path` back from the medium and checks it against `expectedMd5` with CheckMd5Worker.
bool readBack(const QString &path, const QString &expectedMd5, double &longestStallMs);

} // namespace CardPageSteps
