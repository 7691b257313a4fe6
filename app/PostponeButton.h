#pragma once

#include <QObject>
#include <QPointer>

class QAbstractButton;
class RunningTask;

// The window's "Postpone 10 minutes" beside Stop: there, and in the Tab
// order, only while a task runs, so that a person who needs more time gets
// it from the window by mouse, keyboard or screen reader, as from the
// warning and the tray. It takes their route: the due time moves, the title
// and the time left follow the task, and the editor stays locked, since a
// postpone is no edit.
class PostponeButton : public QObject
{
    Q_OBJECT

public:
    PostponeButton(RunningTask &task, QAbstractButton *button, QObject *parent = nullptr);

private:
    void setShown(bool shown);

    RunningTask &m_task;
    QPointer<QAbstractButton> m_button;
};
