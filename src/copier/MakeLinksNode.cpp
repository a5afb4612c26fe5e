#include "copier/MakeLinksNode.h"

#include "copier/CopyRequest.h"

#include <QFile>
#include <QFileInfo>

bool MakeLinksNode::handle()
{
    if (!(request().flags & FileCopier::MakeLinks)) {
        return passOn();
    }
    const QString target = QFileInfo(request().source).absoluteFilePath();
    if (!QFile::link(target, request().destination)) {
        setError(FileCopier::CannotCreateLink);
        return false;
    }
    return true;
}
