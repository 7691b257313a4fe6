#include "task/SystemTaskClock.h"

#include <time.h>

namespace {
qint64 milliseconds(clockid_t clock)
{
    timespec time {};
    clock_gettime(clock, &time);
    return qint64(time.tv_sec) * 1000 + time.tv_nsec / 1000000;
}
} // namespace

QDateTime SystemTaskClock::now() const
{
    return QDateTime::currentDateTime();
}

qint64 SystemTaskClock::wallMs() const
{
    return QDateTime::currentMSecsSinceEpoch();
}

qint64 SystemTaskClock::elapsedMs() const
{
    return milliseconds(CLOCK_BOOTTIME);
}

qint64 SystemTaskClock::awakeMs() const
{
    return milliseconds(CLOCK_MONOTONIC);
}
