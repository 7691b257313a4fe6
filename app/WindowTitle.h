#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class RunningTask;

// The main window's title follows the running task: "5:00 – Shut Down –
// Morvane" while it counts down, so the time left shows in the task bar
// and the window list; "Morvane" again when it ends.
class WindowTitle : public QObject
{
    Q_OBJECT

public:
    WindowTitle(RunningTask &task, QWidget *window, QObject *parent = nullptr);

private:
    void show(qint64 secondsLeft);

    RunningTask &m_task;
    QPointer<QWidget> m_window;
};
