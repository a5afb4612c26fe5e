#pragma once

#include "platform/platform.h"

// The tour's stand-in for the operating system: the computer is never kept awake and nothing
// outside the tour's own sandbox is touched.
class TourPlatform : public Platform
{
public:
    TourPlatform() { Platform::setInstance(this); }
    ~TourPlatform() override { Platform::setInstance(nullptr); }

    void preventSleep() override {}
    void allowSleep() override {}
};
