#pragma once

#include "copier/CopyRequest.h"

// A request as the worker keeps it: the caller's request plus what the answers and cancels have
// done to it since it was queued.
struct ThreadRequest : CopyRequest
{
    ThreadRequest() = default;
    explicit ThreadRequest(const CopyRequest &request)
        : CopyRequest(request)
    {
    }

    bool canceled = false;             // canceled or skipped
    bool overwrite = false;            // the answer "overwrite" allows replacing the destination
    bool sourceRemovalPending = false; // a move copied its data but could not remove the source
};
