#pragma once

#include <QObject>

class IdleInhibitor;
class RunningTask;

// Keeps the desktop from going idle while a task counts down: the lock is
// taken when the task starts and let go when it ends, before its action, so
// that Sleep and Display Sleep are not held up by Morvane's own lock.
class IdleLock : public QObject
{
    Q_OBJECT

public:
    IdleLock(RunningTask &task, IdleInhibitor &inhibitor, QObject *parent = nullptr);

private:
    RunningTask &m_task;
    IdleInhibitor &m_inhibitor;
};
