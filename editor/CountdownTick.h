#pragma once

#include <QDateTime>
#include <QString>

class SystemActions;
class TaskContext;

// What the one-second tick does: fire an expired task, count a running one
// down, or keep the idle date pickers from falling behind the clock.
//
// Every control is looked up again on each tick; nothing is kept between
// ticks but the context's counterTimer, which follows the running task's due
// time.
class CountdownTick
{
public:
    CountdownTick(TaskContext &context, SystemActions &actions);

    void timerFired();

    // Moves the date pickers to now, and their minimum with them, when
    // picker A lies in an earlier second. The idle tick does it while the
    // date page is shown; the window does it at launch and whenever the date
    // page comes into view.
    void followClock();

    // Writes the running task's time left into the window and counterTimer,
    // as a tick does; the window calls it at once after a postpone.
    void showTimeLeft();

    // The task was due while the computer slept: the window returns to idle
    // and says that the action was not carried out.
    void missedWhileAsleep(const QDateTime &due, const QString &action);

private:
    // Returns the window to idle, then performs the selected action. False
    // when a failed action's alert ends the tick.
    bool expire();
    // The script row: runs the script if it is still there, then turns the
    // display off when asked to; a missing file is reported, nothing else is.
    void runScriptAction();

    TaskContext &m_context;
    SystemActions &m_actions;
};
