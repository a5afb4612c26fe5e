#pragma once

#include "download/CheckMd5Worker.h"

#include <QString>

// Long steps of our pages, each run as a page runs it, on a worker beside this thread's event
// loop, whose longest stall meanwhile raises `longestStallMs` when longer.
namespace PageSteps {

// Copies with FileCopier and the page's flags; true when the whole file was copied.
bool copy(const QString &source, const QString &destination, double &longestStallMs);

// Checks `path` against `expectedMd5` with CheckMd5Worker, reading it from the medium as the card
// page reads a copy back, or through the cache as a download is checked.
bool checksum(const QString &path, const QString &expectedMd5, double &longestStallMs,
              CheckMd5Worker::ReadFrom readFrom = CheckMd5Worker::ReadFrom::Medium);

} // namespace PageSteps
