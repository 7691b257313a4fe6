#include "app/Launcher.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    Launcher::leaveSessionManagement();
    QApplication app(argc, argv);
    Launcher::describeApplication();
    Launcher morvane;
    morvane.launch();
    return app.exec();
}
