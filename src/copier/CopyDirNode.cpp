#include "copier/CopyDirNode.h"

#include "copier/CopyRequest.h"
#include "copier/CopyThread.h"

#include <QDir>
#include <QFileInfo>

bool CopyDirNode::handle()
{
    const CopyRequest &copy = request();
    if (!copy.isDir) {
        return passOn();
    }
    if (!QFileInfo(copy.source).isDir()) {
        setError(FileCopier::SourceNotDirectory);
        return false;
    }
    const QFileInfo destination(copy.destination);
    if (destination.exists() || destination.isSymLink()) {
        if (destination.isSymLink() || !destination.isDir()) {
            setError(FileCopier::CannotCreateDestinationDirectory);
            return false;
        }
    } else {
        const QDir parent = destination.dir();
        if (!parent.exists()) {
            setError(FileCopier::DestinationParentMissing);
            return false;
        }
        if (!parent.mkdir(destination.fileName())) {
            setError(FileCopier::CannotCreateDestinationDirectory);
            return false;
        }
    }
    for (const int child : copy.childIds) {
        thread()->handleRequest(child);
    }
    if (thread()->isCanceled(id())) {
        setError(FileCopier::Canceled);
    }
    return true;
}
