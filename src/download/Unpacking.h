#pragma once

#include <QString>

#include <functional>

class QObject;

// Unpacks a downloaded archive into a folder for a page, and calls back on the page's thread once
// the extractor is done with, whichever thread it ran on. Every error code reads as a corrupt
// archive: the pages treat them all alike.
namespace Unpacking {

struct Setup
{
    QString archive;
    QString outputFolder;
    // True runs the extractor on the caller's thread through its event loop.
    bool singleThreaded = true;
    // 0 keeps the extractor's own block size.
    int blockSize = 0;
    // Links, devices and pipes of the archive are left out.
    bool filesAndFoldersOnly = false;
};

// Exactly one of `done` and `failed` runs, from the event loop, unless `page` has gone by then.
// The extractor is a child of `page`; it is deleted before `done` and scheduled for deletion
// before `failed`.
void start(QObject *page, const Setup &setup, std::function<void()> done,
           std::function<void()> failed);

} // namespace Unpacking
