#include "app/CommandLine.h"
#include "app/Launcher.h"
#include "app/Translations.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Before any window: --help, --version and a bad argument need no display.
    const CommandLine commandLine = CommandLine::parse(CommandLine::arguments(argc, argv));
    if (commandLine.outcome() != CommandLine::Outcome::Start)
        return commandLine.report();
    if (const std::optional<int> status = Launcher::handOver(commandLine))
        return *status;

    Launcher::leaveSessionManagement();
    QApplication app(argc, argv);
    Launcher::describeApplication();
    Translations::install();
    Launcher morvane;
    morvane.launch(commandLine.request());
    return app.exec();
}
