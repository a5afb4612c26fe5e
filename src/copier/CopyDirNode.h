#pragma once

#include "copier/ChainNode.h"

// Creates the destination directory of a directory request (or reuses one that exists) and runs
// the requests of its entries.
class CopyDirNode : public ChainNode
{
public:
    using ChainNode::ChainNode;
    bool handle() override;
};
