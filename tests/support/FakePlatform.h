#pragma once

#include "platform/platform.h"

// Stands in for the operating system: records what the program asked of it and answers from
// what the test set up. Installed for its lifetime.
class FakePlatform : public Platform
{
public:
    FakePlatform() { Platform::setInstance(this); }
    ~FakePlatform() override { Platform::setInstance(nullptr); }

    void preventSleep() override;
    void allowSleep() override;

    bool keptAwake = false;
    int preventSleepCalls = 0;
    int allowSleepCalls = 0;
};
