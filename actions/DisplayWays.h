#pragma once

// The ways Morvane knows to turn the display off.
enum class DisplayWay {
    Mutter, // GNOME's PowerSaveMode, read back
    KWinDpms, // KWin's org_kde_kwin_dpms, each output's mode event
    WlrOutputPower, // wlroots' zwlr_output_power_manager_v1, the same
    X11Dpms, // the X server's DPMS level, read back
    PowerDevil, // KDE's "Turn Off Screen" shortcut, which tells nothing back
};

// What one way found.
enum class WayFound {
    Absent, // not in this session
    Unsupported, // there, but it cannot turn this display off
    NotConfirmed, // it took the request, but the display was not seen off
    Done, // turnOff(): the display seen off (PowerDevil: the shortcut taken); ask(): able to
};

// What Morvane's own window is shown on.
enum class DisplayServer {
    NoServer,
    X11,
    Wayland,
};

// The session's display services, one way at a time. The product asks the
// real ones (SessionDisplayWays); tests hand in a table.
class DisplayWays
{
public:
    virtual ~DisplayWays() = default;

    virtual DisplayServer server() const = 0;
    // Whether the way is there and able, without changing anything.
    virtual WayFound ask(DisplayWay way) = 0;
    // Turns the display off that way and reads back whether it is.
    virtual WayFound turnOff(DisplayWay way) = 0;
};
