#include "task/TaskWarnings.h"

#include "actions/TaskNotifier.h"
#include "task/RunningTask.h"

#include <QCoreApplication>

namespace {
constexpr qint64 WarningTimes[] = {300, 60, 10};

// Minutes and seconds well within an int: a warning's time, or the time
// left when a jump of the clock passed a mark.
QString spelled(qint64 seconds)
{
    const int minutes = int(seconds) / 60;
    if (seconds % 60 == 0)
        return QCoreApplication::translate("TaskWarnings", "%n minute(s)", nullptr, minutes);
    return QCoreApplication::translate("TaskWarnings", "%n second(s)", nullptr, int(seconds));
}

// The action as the warnings name it; with no action selected the task
// just ends, and says so.
QString named(const QString &action)
{
    return action.isEmpty() ? QCoreApplication::translate("TaskWarnings", "The task ends") : action;
}
} // namespace

TaskWarnings::TaskWarnings(RunningTask &task, TaskNotifier &notifier, QObject *parent)
    : QObject(parent)
    , m_task(task)
    , m_notifier(notifier)
{
    connect(&task, &RunningTask::started, this, &TaskWarnings::started);
    connect(&task, &RunningTask::timeLeftChanged, this, &TaskWarnings::timeLeftChanged);
    connect(&task, &RunningTask::postponed, this, &TaskWarnings::postponed);
    connect(&task, &RunningTask::ended, this, &TaskWarnings::ended);
    connect(&task, &RunningTask::missedWhileAsleep, this, &TaskWarnings::missed);
    m_notifier.setPostponeHandler([this] { m_task.postpone(PostponeSeconds); });
}

void TaskWarnings::started(qint64 secondsLeft)
{
    m_lastLeft = secondsLeft;
}

void TaskWarnings::timeLeftChanged(qint64 secondsLeft)
{
    qint64 passed = 0;
    for (qint64 mark : WarningTimes) {
        if (m_lastLeft > mark && secondsLeft <= mark)
            passed = mark;
    }
    m_lastLeft = secondsLeft;
    if (passed == 0 || secondsLeft <= 0)
        return;
    const QString at = m_task.dueTime().toString(QStringLiteral("HH:mm:ss"));
    m_notifier.show(summary(m_task.action(), secondsLeft),
        QCoreApplication::translate(
            "TaskWarnings", "At %1, unless you stop the task. Stop cancels it and nothing is done.")
            .arg(at));
    m_shown = true;
}

void TaskWarnings::postponed(qint64 secondsLeft)
{
    // The warning on screen names a time that no longer holds; the ones
    // ahead of the new time left come again.
    m_lastLeft = secondsLeft;
    if (m_shown) {
        m_shown = false;
        m_notifier.withdraw();
    }
}

void TaskWarnings::ended()
{
    m_lastLeft = 0;
    if (!m_shown)
        return;
    m_shown = false;
    m_notifier.withdraw();
}

void TaskWarnings::missed(const QDateTime &due, const QString &action)
{
    m_notifier.tell(missedText(action, due), QString());
}

QString TaskWarnings::summary(const QString &action, qint64 secondsLeft)
{
    //: The action, then how long until it is carried out: "Shut Down in 5 minutes".
    return QCoreApplication::translate("TaskWarnings", "%1 in %2").arg(named(action), spelled(secondsLeft));
}

QString TaskWarnings::missedText(const QString &action, const QDateTime &due)
{
    return QCoreApplication::translate(
        "TaskWarnings", "%1 was due at %2 while the computer slept; it was not carried out.")
        .arg(named(action), due.toString(QStringLiteral("HH:mm")));
}
