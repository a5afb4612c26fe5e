#include "platform/LogindSleepInhibitor.h"
#include "platform/platform.h"

namespace {

class LinuxPlatform final : public Platform
{
public:
    void preventSleep() override { m_inhibitor.acquire(); }
    void allowSleep() override { m_inhibitor.release(); }

private:
    LogindSleepInhibitor m_inhibitor;
};

} // namespace

std::unique_ptr<Platform> createNativePlatform()
{
    return std::make_unique<LinuxPlatform>();
}
