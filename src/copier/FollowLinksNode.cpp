#include "copier/FollowLinksNode.h"

#include "copier/CopyRequest.h"

#include <QFile>
#include <QFileInfo>

bool FollowLinksNode::handle()
{
    const QFileInfo source(request().source);
    if (!source.isSymLink() || (request().flags & FileCopier::FollowLinks)) {
        return passOn();
    }
    if (!QFile::link(source.symLinkTarget(), request().destination)) {
        setError(FileCopier::CannotCreateLink);
        return false;
    }
    return true;
}
