#pragma once

#include "copier/ChainNode.h"

// Removes the source of a move once the rest of the chain has copied it. When only that removal
// failed, an attempt again does nothing but the removal.
class MoveNode : public ChainNode
{
public:
    using ChainNode::ChainNode;
    bool handle() override;

private:
    bool removeSource() const;
};
