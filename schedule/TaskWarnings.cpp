#include "schedule/TaskWarnings.h"

#include "actions/TaskNotifier.h"

#include <QCoreApplication>
#include <QDateTime>

#include <algorithm>
#include <iterator>

namespace {
constexpr qint64 WarningTimes[] = {300, 60, 10};

// The warning times only: minutes and seconds well within an int.
QString spelled(qint64 seconds)
{
    const int minutes = int(seconds) / 60;
    if (seconds % 60 == 0)
        return QCoreApplication::translate("TaskWarnings", "%n minute(s)", nullptr, minutes);
    return QCoreApplication::translate("TaskWarnings", "%n second(s)", nullptr, int(seconds));
}
} // namespace

TaskWarnings::TaskWarnings(TaskNotifier &notifier)
    : m_notifier(notifier)
{
}

void TaskWarnings::taskStarted(qint64 secondsLeft, const QString &action, const QString &refusal)
{
    m_startLeft = secondsLeft;
    m_action = action;
    m_refusal = refusal;
}

void TaskWarnings::timeLeftChanged(qint64 secondsLeft)
{
    if (secondsLeft >= m_startLeft || !std::count(std::begin(WarningTimes), std::end(WarningTimes), secondsLeft))
        return;
    const QString at = QDateTime::currentDateTime().addSecs(secondsLeft).toString(QStringLiteral("HH:mm:ss"));
    m_notifier.show(summary(m_action, secondsLeft, m_refusal),
        QCoreApplication::translate(
            "TaskWarnings", "At %1, unless you stop the task. Stop cancels it and nothing is done.")
            .arg(at));
    m_shown = true;
}

void TaskWarnings::taskEnded()
{
    m_startLeft = 0;
    if (!m_shown)
        return;
    m_shown = false;
    m_notifier.withdraw();
}

QString TaskWarnings::summary(const QString &action, qint64 secondsLeft, const QString &refusal)
{
    // With no action selected the task just ends, and says so.
    const QString what = action.isEmpty() ? QCoreApplication::translate("TaskWarnings", "The task ends") : action;
    if (!refusal.isEmpty()) {
        //: The action, how long until it is due, and why the system will refuse it: "Display Sleep in 10
        //: seconds, but there is no way to turn the display off here".
        return QCoreApplication::translate("TaskWarnings", "%1 in %2, but %3").arg(what, spelled(secondsLeft), refusal);
    }
    //: The action, then how long until it is carried out: "Shut Down in 5 minutes".
    return QCoreApplication::translate("TaskWarnings", "%1 in %2").arg(what, spelled(secondsLeft));
}
