#pragma once

#include "actions/BusConnection.h"

#include <chrono>

// Turns the display off at once through whatever can do it in the running
// session: GNOME's Mutter (its PowerSaveMode, read back), then on X11 the X
// server's DPMS (read back), on Wayland KDE's "Turn Off Screen" shortcut of
// a running PowerDevil. A way counts only when it confirms the display is
// off; otherwise the next is tried. Each call looks the services up afresh.
class DisplayPower
{
public:
    // turnOff()'s answer when no way confirmed the display off.
    static constexpr int NoService = 1;

    explicit DisplayPower(std::chrono::milliseconds callTimeout = BusConnection::DefaultCallTimeout);

    // 0 once a way confirmed the display off, otherwise NoService.
    int turnOff() const;

    // Whether a way to turn the display off is there: Mutter able to do
    // it, an X server with DPMS, or (on Wayland) a running PowerDevil.
    bool canTurnOff() const;

private:
    std::chrono::milliseconds m_callTimeout;
};
