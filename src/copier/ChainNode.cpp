#include "copier/ChainNode.h"

#include <utility>

ChainNode::ChainNode(std::unique_ptr<ChainNode> next)
    : m_next(std::move(next))
{
}

ChainNode::~ChainNode() = default;

bool ChainNode::handle()
{
    return passOn();
}

const CopyRequest &ChainNode::request() const
{
    return m_next->request();
}

CopyThread *ChainNode::thread() const
{
    return m_next->thread();
}

int ChainNode::id() const
{
    return m_next->id();
}

FileCopier::Error ChainNode::error() const
{
    return last()->m_error;
}

void ChainNode::setError(FileCopier::Error error)
{
    last()->m_error = error;
}

bool ChainNode::passOn()
{
    return m_next->handle();
}

const ChainNode *ChainNode::last() const
{
    const ChainNode *node = this;
    while (node->m_next) {
        node = node->m_next.get();
    }
    return node;
}

ChainNode *ChainNode::last()
{
    return const_cast<ChainNode *>(std::as_const(*this).last());
}
