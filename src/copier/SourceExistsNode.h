#pragma once

#include "copier/ChainNode.h"

// Fails a request whose source has gone (a dangling link still counts as a source).
class SourceExistsNode : public ChainNode
{
public:
    using ChainNode::ChainNode;
    bool handle() override;
};
