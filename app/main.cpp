#include "app/Launcher.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Launcher::describeApplication();
    Launcher morvane;
    morvane.launch();
    return app.exec();
}
