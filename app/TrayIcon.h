#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QAction;
class QMenu;
class QSystemTrayIcon;
class QWidget;

// Morvane in the panel's tray while a task runs: an icon that shows a task
// is counting, its tooltip with the action and the time left, and a menu
// with "Show Morvane", "Stop" and "Postpone 10 minutes". Clicking the icon
// brings the window up. It is there only while a task runs.
//
// Qt shows it as a StatusNotifierItem where a watcher is on the session bus
// and in the X11 tray otherwise. Without either, nothing is shown and
// nothing fails: the window stays the one place to see and stop a task.
//
// The menu offers nothing the window would refuse: Stop and Postpone go
// through the routes the window's Stop and the warning's Postpone take, and
// there is no Quit, since ending Morvane while a task runs is refused.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    // What the menu's entries do.
    struct Routes
    {
        std::function<void()> stop;
        // Without one, the menu has no Postpone entry.
        std::function<void()> postpone;
    };

    TrayIcon(QWidget *window, Routes routes, QObject *parent = nullptr);
    ~TrayIcon() override;

    // A task runs, secondsLeft before its action, named as the window names
    // it ("Shut Down"). Shows the icon, or brings its tooltip up to date.
    void showTask(const QString &action, qint64 secondsLeft);
    // No task runs any more: the icon goes away.
    void hideTask();

    // The tooltip: "Shut Down in 4:59".
    static QString toolTip(const QString &action, qint64 secondsLeft);

    // The icon: Morvane's own, with a badge that says it is counting.
    static QIcon runningIcon();

private:
    void raiseWindow();

    QPointer<QWidget> m_window;
    Routes m_routes;
    QMenu *m_menu = nullptr;
    QSystemTrayIcon *m_icon = nullptr;
    // Whether this task has asked for a tray yet.
    bool m_trayLooked = false;
};
