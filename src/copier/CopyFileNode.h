#pragma once

#include "copier/ChainNode.h"
#include "copier/CopyRequest.h"

class QFile;

// The last step: copies a file's data through one 1 MiB buffer. It holds the request, the
// worker and the id for the whole chain.
class CopyFileNode : public ChainNode
{
public:
    CopyFileNode(const CopyRequest &request, CopyThread *thread, int id);

    bool handle() override;
    const CopyRequest &request() const override { return m_request; }
    CopyThread *thread() const override { return m_thread; }
    int id() const override { return m_id; }

private:
    bool openDestination(QFile &destination);
    // False after a read or write error; a cancel stops the loop with Canceled set.
    bool copyData(QFile &source, QFile &destination);

    CopyRequest m_request;
    CopyThread *m_thread;
    int m_id;
};
