#include "copier/CanceledNode.h"

#include "copier/CopyThread.h"

CanceledNode::CanceledNode(bool canceled, std::unique_ptr<ChainNode> next)
    : ChainNode(std::move(next))
    , m_canceled(canceled)
{
}

bool CanceledNode::handle()
{
    if (!m_canceled) {
        return passOn();
    }
    // The entries of a canceled directory never start.
    if (request().isDir) {
        thread()->removeDescendants(id());
    }
    setError(FileCopier::Canceled);
    return true;
}
