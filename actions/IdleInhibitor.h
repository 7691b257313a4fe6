#pragma once

#include <QString>

// Keeps the desktop from going idle (blanking the screen, locking it or
// suspending by itself) while a task counts down, so that the countdown is
// not cut short by the machine falling asleep. The product asks logind;
// tests hand in a recorder.
class IdleInhibitor
{
public:
    virtual ~IdleInhibitor() = default;

    // Holds the lock, giving the reason the desktop may show; a lock held
    // already is let go first. 0 once held, else a negative errno: the task
    // runs all the same.
    virtual int hold(const QString &reason) = 0;
    // Lets the lock go; nothing when none is held.
    virtual void release() = 0;
};
