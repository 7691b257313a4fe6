#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QtGlobal>

class RunningTask;
class TaskNotifier;

// The warnings before a running task's action: 5 minutes, 1 minute and 10
// seconds before it, each in place of the one before, and taken away when
// the task stops or fires. Only those still ahead when the task starts are
// given: a task of one minute gets the 10-second warning alone, since the
// user has just chosen the time and needs no reminder of it. Each warning
// offers Postpone 10 minutes; after a postpone the warnings now ahead come
// again. A task that was due while the computer slept is told about once.
class TaskWarnings : public QObject
{
    Q_OBJECT

public:
    // What Postpone 10 minutes moves the task by.
    static constexpr qint64 PostponeSeconds = 600;

    TaskWarnings(RunningTask &task, TaskNotifier &notifier, QObject *parent = nullptr);

    // The warning's heading: "Shut Down in 5 minutes".
    static QString summary(const QString &action, qint64 secondsLeft);
    // "Shut Down was due at 23:30 while the computer slept; it was not
    // carried out."
    static QString missedText(const QString &action, const QDateTime &due);

private:
    void started(qint64 secondsLeft);
    void timeLeftChanged(qint64 secondsLeft);
    void postponed(qint64 secondsLeft);
    void ended();
    void missed(const QDateTime &due, const QString &action);

    RunningTask &m_task;
    TaskNotifier &m_notifier;
    // The time left when last seen: a warning is given when the count
    // passes its mark, however far a tick or a clock change jumped.
    qint64 m_lastLeft = 0;
    bool m_shown = false;
};
