#pragma once

#include <QString>
#include <QtGlobal>

class TaskNotifier;

// The warnings before a running task's action: 5 minutes, 1 minute and 10
// seconds before it, each in place of the one before, and taken away when
// the task stops or fires. Only those still ahead when the task starts are
// given: a task of one minute gets the 10-second warning alone, since the
// user has just chosen the time and needs no reminder of it.
class TaskWarnings
{
public:
    explicit TaskWarnings(TaskNotifier &notifier);

    // A task started secondsLeft before its action, the action named as
    // the window names it ("Shut Down"); refusal says why the system will
    // refuse it, where it is known to.
    void taskStarted(qint64 secondsLeft, const QString &action, const QString &refusal = QString());
    // The countdown reached secondsLeft.
    void timeLeftChanged(qint64 secondsLeft);
    // The task stopped or fired.
    void taskEnded();

    // The warning's heading: "Shut Down in 5 minutes".
    // With a refusal: "Display Sleep in 10 seconds, but there is no way to
    // turn the display off here".
    static QString summary(const QString &action, qint64 secondsLeft, const QString &refusal = QString());

private:
    TaskNotifier &m_notifier;
    QString m_action;
    QString m_refusal;
    qint64 m_startLeft = 0;
    bool m_shown = false;
};
