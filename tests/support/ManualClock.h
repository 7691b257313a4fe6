#pragma once

#include "task/TaskClock.h"

// Clocks that move only when the test says: time passing awake, a sleep
// (wall and elapsed time run on, the awake clock stands still) or the wall
// clock set by hand (the others stay).
class ManualClock : public TaskClock
{
public:
    explicit ManualClock(const QDateTime &start = QDateTime::currentDateTime())
        : m_start(start)
    {
    }

    QDateTime now() const override { return m_start.addMSecs(m_wall); }
    qint64 elapsedMs() const override { return m_elapsed; }
    qint64 awakeMs() const override { return m_awake; }

    void advance(qint64 ms) { m_wall += ms, m_elapsed += ms, m_awake += ms; }
    void sleep(qint64 ms) { m_wall += ms, m_elapsed += ms; }
    void set(qint64 ms) { m_wall += ms; }

private:
    QDateTime m_start;
    qint64 m_wall = 0;
    // Far from zero, as on a machine that has been up a while.
    qint64 m_elapsed = 1000000;
    qint64 m_awake = 900000;
};
