#include "task/IdleLock.h"

#include "actions/IdleInhibitor.h"
#include "task/RunningTask.h"

#include <QCoreApplication>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcIdleLock, "morvane.idlelock")

IdleLock::IdleLock(RunningTask &task, IdleInhibitor &inhibitor, QObject *parent)
    : QObject(parent)
    , m_task(task)
    , m_inhibitor(inhibitor)
{
    connect(&task, &RunningTask::started, this, [this] {
        // A task whose lock is refused still runs: the lock only keeps the
        // desktop from sleeping through it.
        const QString reason = QCoreApplication::translate("IdleLock", "Counting down to %1").arg(m_task.action());
        if (m_inhibitor.hold(reason) != 0)
            qCInfo(lcIdleLock, "The desktop may go idle during this task: logind did not grant the lock.");
    });
    connect(&task, &RunningTask::ended, this, [this] { m_inhibitor.release(); });
}
