#pragma once

#include <memory>

// Everything the program asks of the operating system goes through this one interface, with one
// implementation per system (platform_win.cpp, platform_linux.cpp). Tests install a fake with
// setInstance(), so no test touches the real machine's power state, processes or drives.
class Platform
{
public:
    virtual ~Platform() = default;

    // The platform in use: the native one unless a test has installed its own.
    static Platform *instance();
    // Installs `platform` (owned by the caller) in place of the native one; nullptr restores it.
    static void setInstance(Platform *platform);

    // Keeps the computer from sleeping until allowSleep(). Calls are not counted: one
    // allowSleep() ends any number of preventSleep() calls. GUI thread only.
    virtual void preventSleep() = 0;
    virtual void allowSleep() = 0;

protected:
    Platform() = default;
};

// The platform of the system the program was built for.
std::unique_ptr<Platform> createNativePlatform();
