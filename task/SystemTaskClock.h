#pragma once

#include "task/TaskClock.h"

// The system's clocks.
class SystemTaskClock : public TaskClock
{
public:
    QDateTime now() const override;
    qint64 wallMs() const override;
    qint64 elapsedMs() const override;
    qint64 awakeMs() const override;
};
