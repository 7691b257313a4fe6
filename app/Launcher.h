#pragma once

#include "app/AppDelegate.h"
#include "app/MainWindow.h"

// Morvane put together as the user gets it: the main window, its controller
// with the real system actions and message-box alerts, and the application's
// names and icon. main() only makes a QApplication, a Launcher and runs.
class Launcher
{
public:
    // Keeps Morvane out of the desktop's session saving. Call before
    // creating the QApplication.
    static void leaveSessionManagement();

    // Names the application (settings folder, desktop entry, version) and
    // gives it its icon. Call once, right after creating the QApplication.
    static void describeApplication();

    Launcher();

    MainWindow &window() { return m_window; }
    AppDelegate &delegate() { return m_delegate; }

    // Runs the launch sequence and shows the window.
    void launch();

private:
    MainWindow m_window;
    AppDelegate m_delegate;
};
