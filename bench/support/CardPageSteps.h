#pragma once

#include "download/CheckMd5Worker.h"

#include <QString>

// The card page's two long steps, each run under an event loop whose longest stall is measured
// (raising `longestStallMs` when longer), as the page runs them on the GUI thread's behalf.
namespace CardPageSteps {

// Copies with FileCopier and the page's flags; true when the whole file was copied.
bool copy(const QString &source, const QString &destination, double &longestStallMs);

// Reads `path` back (from the medium, as the page does, unless `readFrom` says otherwise) and
// checks it against `expectedMd5` with CheckMd5Worker.
bool readBack(const QString &path, const QString &expectedMd5, double &longestStallMs,
              CheckMd5Worker::ReadFrom readFrom = CheckMd5Worker::ReadFrom::Medium);

} // namespace CardPageSteps
