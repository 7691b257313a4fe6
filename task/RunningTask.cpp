#include "task/RunningTask.h"

#include "task/TaskClock.h"

#include <QLoggingCategory>

#include <algorithm>

Q_LOGGING_CATEGORY(lcRunningTask, "morvane.task")

namespace {
// More than this between two ticks of elapsed time the machine was not
// awake for is a sleep; a tick late by a busy moment is not.
constexpr qint64 SleepThresholdMs = 2000;
// A wall clock that moved this far against real time was set.
constexpr qint64 ClockSetThresholdMs = 1000;
// A century: far beyond any task, and far from overflowing milliseconds.
constexpr qint64 LongestPostponeSeconds = 100LL * 366 * 86400;
} // namespace

RunningTask::RunningTask(const TaskClock &clock, QObject *parent)
    : QObject(parent)
    , m_clock(clock)
{
}

void RunningTask::startCountdown(qint64 seconds, const QString &action)
{
    m_kind = Kind::Countdown;
    m_dueElapsed = m_clock.elapsedMs() + seconds * 1000;
    start(action);
}

void RunningTask::startAt(const QDateTime &moment, const QString &action)
{
    m_kind = Kind::Moment;
    m_dueMoment = moment.toLocalTime();
    start(action);
}

void RunningTask::start(const QString &action)
{
    m_running = true;
    m_action = action;
    m_startElapsed = m_clock.elapsedMs();
    rememberClocks();
    emit started(secondsLeft());
}

void RunningTask::end()
{
    if (!m_running)
        return;
    m_running = false;
    emit ended();
}

QDateTime RunningTask::dueTime() const
{
    if (!m_running)
        return QDateTime();
    if (m_kind == Kind::Moment)
        return m_dueMoment;
    return m_clock.now().addMSecs(msLeft());
}

qint64 RunningTask::secondsLeft() const
{
    if (!m_running)
        return 0;
    const qint64 ms = msLeft();
    return ms <= 0 ? 0 : (ms + 999) / 1000;
}

qint64 RunningTask::msLeft() const
{
    if (m_kind == Kind::Moment)
        return m_dueMoment.toMSecsSinceEpoch() - m_clock.wallMs();
    return m_dueElapsed - m_clock.elapsedMs();
}

void RunningTask::shift(qint64 ms)
{
    if (m_kind == Kind::Moment)
        m_dueMoment = m_dueMoment.addMSecs(ms);
    else
        m_dueElapsed += ms;
}

void RunningTask::postpone(qint64 seconds)
{
    if (!m_running || seconds <= 0)
        return;
    shift(std::min(seconds, LongestPostponeSeconds) * 1000);
    qCInfo(lcRunningTask).noquote() << "Postponed to" << dueTime().toString(Qt::ISODate);
    const qint64 left = secondsLeft();
    emit dueTimeChanged(dueTime());
    emit postponed(left);
    emit timeLeftChanged(left);
}

void RunningTask::beginHold()
{
    if (m_holds++ == 0)
        m_holdStart = m_clock.elapsedMs();
}

void RunningTask::endHold()
{
    if (m_holds == 0 || --m_holds > 0 || !m_running)
        return;
    // A task started while held (during a script run) is held from its start.
    shift(m_clock.elapsedMs() - std::max(m_holdStart, m_startElapsed));
}

void RunningTask::prepareForSleep(bool sleeping)
{
    if (sleeping) {
        qCInfo(lcRunningTask, "The machine goes to sleep.");
        m_sleepAnnounced = m_clock.awakeMs();
        return;
    }
    m_sleepAnnounced = -1;
    wake();
    rememberClocks();
}

void RunningTask::wake()
{
    if (!m_running)
        return;
    if (msLeft() >= -WakeGraceMs) {
        emit timeLeftChanged(secondsLeft());
        return;
    }
    const QDateTime due = dueTime();
    qCInfo(lcRunningTask).noquote() << "Due at" << due.toString(Qt::ISODate)
                                    << "while the machine slept; not carried out.";
    emit missedWhileAsleep(due, m_action);
    end();
}

RunningTask::Status RunningTask::tick()
{
    if (!m_running)
        return Status::Idle;
    const qint64 elapsed = m_clock.elapsedMs();
    const qint64 awake = m_clock.awakeMs();
    const qint64 wallOffset = m_clock.wallMs() - elapsed;
    const qint64 slept = (elapsed - m_lastElapsed) - (awake - m_lastAwake);
    const qint64 clockSet = wallOffset - m_lastWallOffset;
    m_lastElapsed = elapsed;
    m_lastAwake = awake;
    m_lastWallOffset = wallOffset;

    // The tick may come before logind says the machine woke; it is awake
    // all the same.
    if (slept > SleepThresholdMs) {
        m_sleepAnnounced = -1;
        wake();
        if (!m_running)
            return Status::Idle;
    }
    // Between logind's two words the machine is on its way down or not yet
    // back: the wake decides whether the task still acts. A word that never
    // comes holds the task only so long.
    if (m_sleepAnnounced >= 0 && m_clock.awakeMs() - m_sleepAnnounced < SleepWordMs)
        return Status::Asleep;
    if (std::abs(clockSet) > ClockSetThresholdMs) {
        qCInfo(lcRunningTask, "The clock was set by %lld s.", static_cast<long long>(clockSet / 1000));
        // A date task stays at its moment; a countdown keeps its length, so
        // its moment on the wall clock moves with the clock.
        if (m_kind == Kind::Countdown)
            emit dueTimeChanged(dueTime());
    }
    if (msLeft() <= 0)
        return Status::Due;
    emit timeLeftChanged(secondsLeft());
    return Status::Counting;
}

void RunningTask::rememberClocks()
{
    m_lastElapsed = m_clock.elapsedMs();
    m_lastAwake = m_clock.awakeMs();
    m_lastWallOffset = m_clock.wallMs() - m_lastElapsed;
}
