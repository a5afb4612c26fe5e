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
    if (const std::optional<int> exitCode = CommandLine::apply(QApplication::arguments())) {
        return *exitCode;
    }
    Startup::applyLook(app);
    SingleRun run;
    if (!run.claim()) {
        return 1;
    }
    Core::instance();

    MainWindow window;
    window.show();
    return app.exec();
}
