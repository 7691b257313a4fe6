#include "app/CommandLine.h"
#include "app/Launcher.h"
#include "app/Translations.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Before any window: --help, --version, a bad argument and a start that
    // another Morvane takes need no display, only the catalogues, so they are
    // answered while a core application, gone before the window's, holds them.
    CommandLine commandLine;
    std::optional<int> status;
    {
        QCoreApplication core(argc, argv);
        Translations::install();
        commandLine = CommandLine::parse(CommandLine::arguments(argc, argv));
        status = commandLine.outcome() != CommandLine::Outcome::Start ? commandLine.report()
                                                                      : Launcher::handOver(commandLine);
    }
    if (status)
        return *status;

    Launcher::leaveSessionManagement();
    QApplication app(argc, argv);
    Launcher::describeApplication();
    Translations::install();
    Launcher morvane;
    morvane.launch(commandLine.request());
    return app.exec();
}
