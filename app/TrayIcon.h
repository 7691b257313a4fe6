#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QIcon;
class QMenu;
class QSystemTrayIcon;
class QWidget;
class RunningTask;

// Morvane in the panel's tray while a task runs: an icon that shows a task
// is counting, its tooltip with the action and the time left, and a menu
// with "Show Morvane", "Stop" and "Postpone 10 minutes". Clicking the icon
// brings the window up. It follows the running task: there from its start,
// its tooltip brought up to date as often as the window's title, gone when
// the task ends.
//
// Qt shows it as a StatusNotifierItem where a watcher is on the session bus
// and in the X11 tray otherwise. Without either, nothing is shown and
// nothing fails: the window stays the one place to see and stop a task.
//
// The menu offers nothing the window would refuse: Stop takes the route of
// the window's Stop, Postpone the one of the warning's Postpone (the editor
// stays locked), and there is no Quit, since ending Morvane while a task
// runs is refused.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    // stop: the window's Stop.
    TrayIcon(RunningTask &task, QWidget *window, std::function<void()> stop, QObject *parent = nullptr);
    ~TrayIcon() override;

    // The tooltip: "Shut Down in 4:59".
    static QString toolTip(const QString &action, qint64 secondsLeft);

    // The icon: Morvane's own, with a badge that says it is counting.
    static QIcon runningIcon();

private:
    void show(qint64 secondsLeft);
    void hide();
    void raiseWindow();

    RunningTask &m_task;
    QPointer<QWidget> m_window;
    std::function<void()> m_stop;
    QMenu *m_menu = nullptr;
    QSystemTrayIcon *m_icon = nullptr;
    // Whether this task has asked for a tray yet.
    bool m_trayLooked = false;
};
