#pragma once

#include "copier/ChainNode.h"

// Moves by renaming when the file system allows it, which copies nothing.
class RenameNode : public ChainNode
{
public:
    using ChainNode::ChainNode;
    bool handle() override;
};
