#pragma once

#include "actions/IdleInhibitor.h"
#include "actions/LogindSleepWatcher.h"
#include "actions/TaskNotifier.h"
#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "app/PostponeButton.h"
#include "app/SingleInstance.h"
#include "app/TaskRequest.h"
#include "app/TrayIcon.h"
#include "app/WindowTitle.h"
#include "task/IdleLock.h"
#include "task/TaskWarnings.h"

#include <memory>
#include <optional>

class CommandLine;

// Morvane put together as the user gets it: the main window, its controller
// with the real system actions and message-box alerts; what follows the
// running task (the window's title, desktop notifications, the tray icon,
// logind's idle lock and its word on sleep); the application's names and icon, and the
// socket that later starts hand their command line to. main() only reads the
// command line, makes a QApplication, a Launcher and runs.
class Launcher
{
public:
    // Keeps Morvane out of the desktop's session saving. Call before
    // creating the QApplication.
    static void leaveSessionManagement();

    // Names the application (settings folder, desktop entry, version); its
    // icon follows in launch(). Call once, right after creating the
    // QApplication.
    static void describeApplication();

    // Hands the command line to this user's Morvane running in this session,
    // or makes this start the one: then the lock comes back, for launch().
    // Needs no application object.
    static SingleInstance::Claim claim(const CommandLine &commandLine);
    // Prints what became of a hand-over on standard error and answers the
    // exit status; nothing when this start is to open the window. A
    // postpone that finds no Morvane ends here too.
    static std::optional<int> report(const CommandLine &commandLine, const SingleInstance::HandOver &handOver);

    Launcher();
    // Stand-ins for the services; without alerts, message boxes over the
    // window show them, and without a clock the system's clocks count.
    Launcher(std::unique_ptr<SystemActions> actions, std::unique_ptr<AlertPresenter> alerts,
        std::unique_ptr<TaskNotifier> notifier, std::unique_ptr<IdleInhibitor> inhibitor,
        std::unique_ptr<TaskClock> clock = nullptr);

    MainWindow &window() { return m_window; }
    AppDelegate &delegate() { return *m_delegate; }

    // Runs the launch sequence, shows the window, and then, from the event
    // loop, starts the task asked for; once the window is painted, gives it
    // its icon and listens for later starts. instanceLock comes from
    // claim(); without it the launch tries to take the lock itself, and
    // does not listen when another Morvane holds it.
    void launch(const TaskRequest &request = {}, std::unique_ptr<InstanceLock> instanceLock = nullptr);

    // A later start's arguments: brings the window to the front and starts
    // the task they ask for, unless one runs, or postpones the running one.
    // Answers the later start's exit status and what it prints: nothing, why
    // its task was not started, or the new due time.
    SingleInstance::Reply takeOver(const QStringList &arguments);

private:
    void startLater(const TaskRequest &request);
    // Listens, when launch() holds the lock.
    void listenForLaterStarts();
    SingleInstance::Reply postpone(qint64 seconds);

    MainWindow m_window;
    std::unique_ptr<AppDelegate> m_delegate;
    std::unique_ptr<TaskNotifier> m_notifier;
    std::unique_ptr<IdleInhibitor> m_inhibitor;
    WindowTitle m_title;
    PostponeButton m_postpone;
    // Only with a notifier and an inhibitor.
    std::unique_ptr<TaskWarnings> m_warnings;
    std::unique_ptr<IdleLock> m_idleLock;
    LogindSleepWatcher m_sleepWatcher;
    TrayIcon m_tray;
    SingleInstance m_instance;
    // From claim(), until the socket is opened after the first paint.
    std::unique_ptr<InstanceLock> m_instanceLock;
};
