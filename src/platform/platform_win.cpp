#include "platform/platform.h"

#include <windows.h>

namespace {

class WindowsPlatform final : public Platform
{
public:
    void preventSleep() override
    {
        SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_AWAYMODE_REQUIRED);
    }

    // ES_CONTINUOUS alone clears what preventSleep() asked for on this thread.
    void allowSleep() override { SetThreadExecutionState(ES_CONTINUOUS); }
};

} // namespace

std::unique_ptr<Platform> createNativePlatform()
{
    return std::make_unique<WindowsPlatform>();
}
