#include "copier/SourceExistsNode.h"

#include "copier/CopyRequest.h"

#include <QFileInfo>

bool SourceExistsNode::handle()
{
    const QFileInfo source(request().source);
    if (!source.exists() && !source.isSymLink()) {
        setError(FileCopier::SourceNotFound);
        return false;
    }
    return passOn();
}
