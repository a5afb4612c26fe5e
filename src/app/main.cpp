#include "app/CommandLine.h"
#include "app/Core.h"
#include "app/MainWindow.h"
#include "app/SingleRun.h"
#include "app/Startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    Startup::setLoggingRule();
    QApplication app(argc, argv);
    const CommandLine::Reading options = CommandLine::read(QApplication::arguments());
    if (options.exitCode) {
        return CommandLine::finish(options);
    }
    Startup::applyLook(app);
    SingleRun run;
    if (!run.claim()) {
        return 1;
    }
    // Only the run that goes on writes to the log: a second copy would rotate it under the first.
    CommandLine::openSupportLog(options);
    Core::instance();

    MainWindow window;
    window.show();
    return app.exec();
}
