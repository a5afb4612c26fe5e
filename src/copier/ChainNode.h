#pragma once

#include "copier/FileCopier.h"

#include <memory>

class CopyThread;
struct CopyRequest;

// One step of handling a request. Each step either deals with the request completely or passes
// it on to the next step; the last step (CopyFileNode) holds the request, the worker and the id,
// and every step reaches them through the chain. The chain has one error code, kept by its last
// step.
class ChainNode
{
public:
    explicit ChainNode(std::unique_ptr<ChainNode> next = nullptr);
    virtual ~ChainNode();
    ChainNode(const ChainNode &) = delete;
    ChainNode &operator=(const ChainNode &) = delete;

    // True when the request is finished (possibly with an error set); false when it failed and
    // may be attempted again once the user has answered.
    virtual bool handle();
    virtual const CopyRequest &request() const;
    virtual CopyThread *thread() const;
    virtual int id() const;

    FileCopier::Error error() const;
    void setError(FileCopier::Error error);

protected:
    bool passOn();

private:
    const ChainNode *last() const;
    ChainNode *last();

    std::unique_ptr<ChainNode> m_next;
    FileCopier::Error m_error = FileCopier::NoError;
};
