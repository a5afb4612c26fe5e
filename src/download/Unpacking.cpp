#include "download/Unpacking.h"

#include "archive/ArchiveExtractor.h"

#include <QPointer>

#include <memory>

namespace Unpacking {

void start(QObject *page, const Setup &setup, std::function<void()> done,
           std::function<void()> failed)
{
    auto *extractor =
        new ArchiveExtractor(setup.archive, setup.outputFolder, page, setup.singleThreaded);
    if (setup.blockSize > 0) {
        extractor->setBlockSize(setup.blockSize);
    }
    extractor->setFilesAndFoldersOnly(setup.filesAndFoldersOnly);
    const QPointer<ArchiveExtractor> guard(extractor);
    // Signals already queued still arrive after the first outcome; only the first one counts.
    auto settled = std::make_shared<bool>(false);
    // Queued both ways: the pages answer with modal questions, which must neither run on the
    // extractor's thread nor inside its own processing loop, and the extractor cannot be deleted
    // from within its own signal.
    QObject::connect(
        extractor, &ArchiveExtractor::finished, page,
        [guard, settled, done = std::move(done)] {
            if (*settled) {
                return;
            }
            *settled = true;
            delete guard.data();
            done();
        },
        Qt::QueuedConnection);
    QObject::connect(
        extractor, &ArchiveExtractor::error, page,
        [guard, settled, failed = std::move(failed)](short) {
            if (*settled) {
                return;
            }
            *settled = true;
            if (guard) {
                guard->deleteLater();
            }
            failed();
        },
        Qt::QueuedConnection);
    extractor->start();
}

} // namespace Unpacking
