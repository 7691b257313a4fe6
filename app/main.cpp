#include "actions/LinuxSystemActions.h"
#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "controls/MessageBoxAlertPresenter.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Morvane"));
    QApplication::setOrganizationName(QStringLiteral("Morvane"));
    QApplication::setApplicationVersion(QStringLiteral(MORVANE_VERSION));

    MainWindow window;
    AppDelegate delegate(&window, std::make_unique<LinuxSystemActions>(),
                         std::make_unique<MessageBoxAlertPresenter>(&window));
    QObject::connect(&delegate, &AppDelegate::terminationRequested, &app,
                     [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    delegate.applicationDidFinishLaunching();
    window.show();
    return app.exec();
}
