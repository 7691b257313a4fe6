#pragma once

#include "actions/BusConnection.h"

#include <chrono>

// Turns the display off at once through whatever can do it in the running
// session, tried in this order: GNOME's Mutter (its PowerSaveMode), KDE's
// "Turn Off Screen" shortcut of PowerDevil, and DPMS on the X display named
// by DISPLAY. Each call looks the services up afresh.
class DisplayPower
{
public:
    // turnOff()'s answer when none of the three is there.
    static constexpr int NoService = 1;

    explicit DisplayPower(std::chrono::milliseconds callTimeout = BusConnection::DefaultCallTimeout);

    // 0 once the display was told to turn off; NoService when no desktop
    // service answers and no X display with DPMS is there; otherwise the
    // negative errno of the step that failed (-EPROTO for an X error, -EIO
    // when the X server does not report the display off afterwards).
    int turnOff() const;

private:
    std::chrono::milliseconds m_callTimeout;
};
