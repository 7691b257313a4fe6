#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

class TaskClock;

// The task that counts down, kept as the moment it is due rather than as a
// count of ticks: a sleeping machine does not tick, and neither does one
// whose clock is set, yet the time the user chose goes on.
//
// A countdown is due its length of real time after the start, whatever
// happens to the wall clock; a task for a date and time is due when the
// wall clock shows that moment. An open alert or a running script holds the
// task: it comes later by the time held. Postpone moves it later on purpose.
// Waking from a sleep after the due time has passed ends the task without
// its action: acting hours late on a machine just woken is never what the
// user wanted.
//
// The window starts and ends the task and ticks it; the title, the warnings,
// the idle lock and the hand-over follow its signals.
class RunningTask : public QObject
{
    Q_OBJECT

public:
    enum class Status {
        Idle, // no task, or it has just ended
        Counting,
        Due, // the action is to be carried out now
        Asleep, // logind said the machine goes to sleep: nothing until it wakes
    };

    // How late a wake-up may come after the due time and still act: a
    // wake-up timed for the due moment itself takes a few seconds.
    static constexpr qint64 WakeGraceMs = 10000;
    // How long the task waits, awake, for logind's word that the machine
    // woke, before it counts as awake all the same.
    static constexpr qint64 SleepWordMs = 60000;

    explicit RunningTask(const TaskClock &clock, QObject *parent = nullptr);

    // A task of seconds of real time from now, for the action as the window
    // names it ("Shut Down"), or empty for none.
    void startCountdown(qint64 seconds, const QString &action);
    // A task due when the wall clock shows moment.
    void startAt(const QDateTime &moment, const QString &action);
    // The task was stopped or has fired; nothing while none runs.
    void end();

    bool isRunning() const { return m_running; }
    QString action() const { return m_action; }
    // The wall-clock moment the task is due; invalid while none runs.
    QDateTime dueTime() const;
    // Whole seconds left, rounded up; 0 once due and while idle.
    qint64 secondsLeft() const;

    // Moves the due time seconds later; nothing while no task runs.
    void postpone(qint64 seconds);

    // An alert is open or a script runs: the time until endHold() does not
    // count. Holds nest.
    void beginHold();
    void endHold();

    // logind's PrepareForSleep: true before the machine sleeps, false once
    // it is awake again.
    void prepareForSleep(bool sleeping);

    // Once a second, from the window's tick: reads the clocks, notices a
    // sleep that logind did not announce (or not yet), and says whether the
    // task counts on or is due.
    Status tick();

signals:
    void started(qint64 secondsLeft);
    // The time left as each tick finds it, and at once after a postpone.
    void timeLeftChanged(qint64 secondsLeft);
    // The due time moved: a postpone, or a countdown under a clock that was
    // set.
    void dueTimeChanged(const QDateTime &due);
    void postponed(qint64 secondsLeft);
    // The due time passed while the machine slept; the task ends without
    // its action right after this.
    void missedWhileAsleep(const QDateTime &due, const QString &action);
    // Stopped, fired or missed.
    void ended();

private:
    enum class Kind { Countdown, Moment };

    void start(const QString &action);
    qint64 msLeft() const;
    void shift(qint64 ms);
    // After a sleep: ends a task whose due time passed meanwhile.
    void wake();
    void rememberClocks();

    const TaskClock &m_clock;
    bool m_running = false;
    Kind m_kind = Kind::Countdown;
    QString m_action;
    // The due moment of a countdown on the elapsed clock, which a clock
    // change does not move.
    qint64 m_dueElapsed = 0;
    // The due moment of a date task, in local time: a change of the wall
    // clock or of daylight-saving time leaves it where the user put it.
    QDateTime m_dueMoment;
    qint64 m_startElapsed = 0;
    // The awake clock when logind said the machine goes to sleep; -1 when
    // it is awake.
    qint64 m_sleepAnnounced = -1;
    int m_holds = 0;
    qint64 m_holdStart = 0;
    // The clocks at the last tick, to tell a sleep (elapsed runs on while
    // awake stands still) and a clock change (wall minus elapsed moves).
    qint64 m_lastElapsed = 0;
    qint64 m_lastAwake = 0;
    qint64 m_lastWallOffset = 0;
};
