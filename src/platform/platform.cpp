#include "platform/platform.h"

namespace {
Platform *s_override = nullptr;
} // namespace

Platform *Platform::instance()
{
    if (s_override) {
        return s_override;
    }
    static const std::unique_ptr<Platform> native = createNativePlatform();
    return native.get();
}

void Platform::setInstance(Platform *platform)
{
    s_override = platform;
}
