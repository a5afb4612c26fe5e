#pragma once

#include "copier/ChainNode.h"

// With MakeLinks, links the destination to the source instead of copying it.
class MakeLinksNode : public ChainNode
{
public:
    using ChainNode::ChainNode;
    bool handle() override;
};
