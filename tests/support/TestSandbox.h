#pragma once

#include <QTemporaryDir>

// Gives the test process a fresh, empty home of its own (HOME, the XDG folders and TMPDIR), so the
// Garmin maps folder, the download folder and temporary files never touch the real user's, and
// points the vendor service address at a closed loopback port until a test starts its own.
// Must exist before the application object.
class TestSandbox
{
public:
    TestSandbox();

private:
    QTemporaryDir m_dir;
};
