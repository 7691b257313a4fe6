#pragma once

#include <QDateTime>
#include <QtGlobal>

// The clocks a running task is measured against. The product reads the
// system's; tests hand in one they move by hand, through sleeps and clock
// changes that would take hours to wait for.
class TaskClock
{
public:
    virtual ~TaskClock() = default;

    // The wall clock, in local time: what the user set the task by.
    virtual QDateTime now() const = 0;
    // The wall clock in milliseconds since the epoch: now() without the
    // local time, which each tick need not work out.
    virtual qint64 wallMs() const { return now().toMSecsSinceEpoch(); }
    // Milliseconds that really passed, suspend included (CLOCK_BOOTTIME).
    // Setting the wall clock does not move it.
    virtual qint64 elapsedMs() const = 0;
    // Milliseconds the machine was awake (CLOCK_MONOTONIC): stands still
    // while it sleeps, as Qt's timers do.
    virtual qint64 awakeMs() const = 0;
};
