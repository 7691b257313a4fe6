#pragma once

#include "actions/DisplayWays.h"

#include <QString>

// Decides how to turn the display off and what to say when it cannot:
// Mutter first, then on Wayland KWin's or wlroots' output power protocol, on
// X11 the X server's DPMS. Each of them is counted only once it reports the
// display off. PowerDevil's shortcut, which reports nothing, is sent only
// where none of them took the request, and never counts as done.
class DisplayPower
{
public:
    // turnOff()'s answer when nothing reported the display off.
    static constexpr int NoService = 1;

    explicit DisplayPower(DisplayWays &ways);

    // 0 once a way reported the display off, otherwise NoService.
    int turnOff();
    // After NoService: one sentence naming what was there and why it could
    // not turn the display off.
    QString failure() const { return m_failure; }

    // Whether a way that reports the display off is there and able.
    bool canTurnOff();

private:
    DisplayWays &m_ways;
    QString m_failure;
};
