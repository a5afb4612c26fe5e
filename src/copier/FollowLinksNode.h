#pragma once

#include "copier/ChainNode.h"

// A link that is not to be followed is copied as a link to the same target.
class FollowLinksNode : public ChainNode
{
public:
    using ChainNode::ChainNode;
    bool handle() override;
};
