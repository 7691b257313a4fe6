#include "app/CommandLine.h"
#include "app/Launcher.h"
#include "app/Translations.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    // Before any window: --help, --version, a bad argument and a start that
    // another Morvane takes need no display. A file named here means the
    // folder it was typed in, to this Morvane and to one running elsewhere.
    const QStringList arguments
        = CommandLine::withAbsolutePaths(CommandLine::arguments(argc, argv), QDir::currentPath());
    const QDateTime now = QDateTime::currentDateTime();
    const CommandLine commandLine = CommandLine::parse(arguments, now);
    SingleInstance::Claim claim;
    if (commandLine.outcome() == CommandLine::Outcome::Start)
        claim = Launcher::claim(commandLine);

    if (commandLine.outcome() != CommandLine::Outcome::Start
        || claim.handOver.status != SingleInstance::HandOver::NoneRunning || commandLine.request().postpone) {
        // Only a start that ends here prints, in the user's language: it
        // alone pays for an application object to hold the catalogues. The
        // window's start is not slowed by one that comes and goes.
        QCoreApplication core(argc, argv);
        Translations::install();
        if (commandLine.outcome() != CommandLine::Outcome::Start)
            return CommandLine::parse(arguments, now).report();
        return Launcher::report(commandLine, claim.handOver).value_or(1);
    }

    Launcher::leaveSessionManagement();
    QApplication app(argc, argv);
    Launcher::describeApplication();
    Translations::install();
    Launcher morvane;
    morvane.launch(commandLine.request(), std::move(claim.lock));
    return app.exec();
}
