#pragma once

#include "copier/ChainNode.h"

// Stops a request whose destination exists unless replacing it has been allowed.
class OverwriteNode : public ChainNode
{
public:
    OverwriteNode(bool overwriteAllowed, std::unique_ptr<ChainNode> next);
    bool handle() override;

private:
    bool m_overwriteAllowed;
};
