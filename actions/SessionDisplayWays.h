#pragma once

#include "actions/BusConnection.h"
#include "actions/DisplayWays.h"

#include <chrono>

// The display services of the running session: Mutter and PowerDevil on the
// session bus, the Wayland compositor of WAYLAND_DISPLAY, the X server of
// DISPLAY. Each call looks its service up afresh and leaves nothing open.
class SessionDisplayWays : public DisplayWays
{
public:
    explicit SessionDisplayWays(std::chrono::milliseconds callTimeout = BusConnection::DefaultCallTimeout);

    // Wayland where WAYLAND_DISPLAY is set: a compositor may also offer X
    // programs a server of its own, which does not own the outputs.
    DisplayServer server() const override;
    WayFound ask(DisplayWay way) override;
    WayFound turnOff(DisplayWay way) override;

private:
    std::chrono::milliseconds m_callTimeout;
};
