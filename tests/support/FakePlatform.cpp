#include "FakePlatform.h"

void FakePlatform::preventSleep()
{
    keptAwake = true;
    ++preventSleepCalls;
}

void FakePlatform::allowSleep()
{
    keptAwake = false;
    ++allowSleepCalls;
}
