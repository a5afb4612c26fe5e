#include "copier/RenameNode.h"

#include "copier/CopyRequest.h"
#include "copier/CopyThread.h"

#include <QDir>
#include <QFileInfo>

bool RenameNode::handle()
{
    const CopyRequest &copy = request();
    const QFileInfo source(copy.source);
    // Following links means copying what they point to, which a rename cannot do.
    const bool followsLinks =
        (copy.flags & FileCopier::FollowLinks) && (copy.isDir || source.isSymLink());
    if (!copy.move || followsLinks) {
        return passOn();
    }
    // Never replaces an existing destination: then the data is copied instead.
    if (!source.dir().rename(source.fileName(), copy.destination)) {
        return passOn();
    }
    if (copy.isDir) {
        thread()->reportMovedDescendants(id());
    } else {
        thread()->reportProgress(id(), QFileInfo(copy.destination).size());
    }
    return true;
}
