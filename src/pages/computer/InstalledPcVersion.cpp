#include "pages/computer/InstalledPcVersion.h"

#include "app/Core.h"

#include <QVariant>
#include <QVersionNumber>
#include <QWidget>

namespace InstalledPcVersion {

namespace {
const char *const kProperty = "PC_MAP_VERSION";
} // namespace

void publish(const QVersionNumber &version)
{
    if (QWidget *window = Core::mainWindow()) {
        window->setProperty(kProperty, version.segmentCount() > 0 ? version.toString() : QString());
    }
}

QString text()
{
    const QWidget *window = Core::mainWindow();
    return window ? window->property(kProperty).toString() : QString();
}

} // namespace InstalledPcVersion
