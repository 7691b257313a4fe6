#include "schedule/TaskWarnings.h"

#include "actions/TaskNotifier.h"

#include <QDateTime>

#include <algorithm>
#include <iterator>

namespace {
constexpr qint64 WarningTimes[] = {300, 60, 10};

QString spelled(qint64 seconds)
{
    if (seconds % 60 == 0) {
        const qint64 minutes = seconds / 60;
        return minutes == 1 ? QStringLiteral("1 minute") : QStringLiteral("%1 minutes").arg(minutes);
    }
    return seconds == 1 ? QStringLiteral("1 second") : QStringLiteral("%1 seconds").arg(seconds);
}
} // namespace

TaskWarnings::TaskWarnings(TaskNotifier &notifier)
    : m_notifier(notifier)
{
}

void TaskWarnings::taskStarted(qint64 secondsLeft, const QString &action)
{
    m_startLeft = secondsLeft;
    m_action = action;
}

void TaskWarnings::timeLeftChanged(qint64 secondsLeft)
{
    if (secondsLeft >= m_startLeft || !std::count(std::begin(WarningTimes), std::end(WarningTimes), secondsLeft))
        return;
    const QString at = QDateTime::currentDateTime().addSecs(secondsLeft).toString(QStringLiteral("HH:mm:ss"));
    m_notifier.show(summary(m_action, secondsLeft),
        QStringLiteral("At %1, unless you stop the task. Stop cancels it and nothing is done.").arg(at));
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

QString TaskWarnings::summary(const QString &action, qint64 secondsLeft)
{
    // With no action selected the task just ends, and says so.
    const QString what = action.isEmpty() ? QStringLiteral("The task ends") : action;
    return QStringLiteral("%1 in %2").arg(what, spelled(secondsLeft));
}
