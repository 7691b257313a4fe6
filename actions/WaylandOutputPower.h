#pragma once

#include <chrono>

// Turns the outputs of the Wayland compositor in WAYLAND_DISPLAY off through
// the display power protocol it offers: KWin's org_kde_kwin_dpms or wlroots'
// zwlr_output_power_manager_v1. Each call connects on its own and leaves
// again; the outputs stay off after it.
class WaylandOutputPower
{
public:
    enum class Protocol {
        KWinDpms,
        WlrOutputPower,
    };

    // What a call found, from nothing to the outputs seen off.
    enum class Found {
        NoCompositor, // no WAYLAND_DISPLAY, or nobody listens there
        NoProtocol, // the compositor does not offer the protocol
        Unsupported, // it does, but not for every output (or has none)
        NotConfirmed, // asked, but not every output reported itself off in time
        Ready, // ask(): every output can be turned off
        Off, // turnOff(): every output reported itself off
    };

    WaylandOutputPower(Protocol protocol, std::chrono::milliseconds timeout);

    // Whether the protocol is there and supports every output, without
    // changing anything.
    Found ask() const;
    // Sets every output off and waits for each output's mode event to say so.
    Found turnOff() const;

private:
    Found run(bool turnOff) const;

    Protocol m_protocol;
    std::chrono::milliseconds m_timeout;
};
