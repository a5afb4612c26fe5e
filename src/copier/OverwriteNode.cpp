#include "copier/OverwriteNode.h"

#include "copier/CopyRequest.h"

#include <QFileInfo>

OverwriteNode::OverwriteNode(bool overwriteAllowed, std::unique_ptr<ChainNode> next)
    : ChainNode(std::move(next))
    , m_overwriteAllowed(overwriteAllowed)
{
}

bool OverwriteNode::handle()
{
    const bool allowed = (request().flags & FileCopier::NonInteractive) || m_overwriteAllowed;
    const QFileInfo destination(request().destination);
    if ((destination.exists() || destination.isSymLink()) && !allowed) {
        setError(FileCopier::DestinationExists);
        return false;
    }
    return passOn();
}
