#include "copier/MoveNode.h"

#include "copier/CopyRequest.h"
#include "copier/CopyThread.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool MoveNode::handle()
{
    if (!thread()->sourceRemovalPending(id()) && !passOn()) {
        return false;
    }
    if (error() != FileCopier::NoError || !request().move) {
        return true;
    }
    const bool removed = removeSource();
    thread()->setSourceRemovalPending(id(), !removed);
    if (!removed) {
        setError(FileCopier::CannotRemoveSource);
        return false;
    }
    return true;
}

bool MoveNode::removeSource() const
{
    const QFileInfo source(request().source);
    // rmdir, never a recursive delete: a directory that still holds anything the move did not
    // carry over stays.
    const bool removed = source.isDir() && !source.isSymLink()
                             ? source.dir().rmdir(source.fileName())
                             : QFile::remove(source.filePath());
    if (removed) {
        return true;
    }
    // Someone else may have removed it meanwhile, which is all this step wanted.
    const QFileInfo after(source.filePath());
    return !after.exists() && !after.isSymLink();
}
