#pragma once

#include "copier/ChainNode.h"

// Ends a canceled or skipped request before anything is touched.
class CanceledNode : public ChainNode
{
public:
    CanceledNode(bool canceled, std::unique_ptr<ChainNode> next);
    bool handle() override;

private:
    bool m_canceled;
};
