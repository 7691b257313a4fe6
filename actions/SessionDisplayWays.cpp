#include "actions/SessionDisplayWays.h"

#include "actions/WaylandOutputPower.h"

#include <systemd/sd-bus.h>

#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>

#include <QtGlobal>

#include <memory>

namespace {

constexpr char PropertiesInterface[] = "org.freedesktop.DBus.Properties";

constexpr char MutterService[] = "org.gnome.Mutter.DisplayConfig";
constexpr char MutterPath[] = "/org/gnome/Mutter/DisplayConfig";
constexpr char MutterInterface[] = "org.gnome.Mutter.DisplayConfig";
constexpr char MutterPowerSaveMode[] = "PowerSaveMode";
constexpr int MutterUnsupported = -1;
constexpr int MutterOff = 3;

constexpr char KGlobalAccelService[] = "org.kde.kglobalaccel";
constexpr char PowerDevilComponentPath[] = "/component/org_kde_powerdevil";
constexpr char KGlobalAccelComponent[] = "org.kde.kglobalaccel.Component";
constexpr char TurnOffScreenShortcut[] = "Turn Off Screen";

// Reads Mutter's PowerSaveMode; MutterUnsupported when it cannot be read.
int mutterPowerSaveMode(BusConnection &session)
{
    int mode = MutterUnsupported;
    if (session.call(MutterService, MutterPath, PropertiesInterface, "Get", "ss", MutterInterface, MutterPowerSaveMode)
            < 0
        || sd_bus_message_read(session.reply(), "v", "i", &mode) < 0)
        return MutterUnsupported;
    return mode;
}

WayFound askMutter(BusConnection &session)
{
    if (!session.hasService(MutterService, false))
        return WayFound::Absent;
    return mutterPowerSaveMode(session) == MutterUnsupported ? WayFound::Unsupported : WayFound::Done;
}

// Mutter takes the request as a property write, and accepts the write even
// where it cannot turn the display off (on an X server without DPMS the
// property then reads -1). Only a read-back of "off" counts.
WayFound turnOffThroughMutter(BusConnection &session)
{
    if (!session.hasService(MutterService, false))
        return WayFound::Absent;
    if (session.call(MutterService, MutterPath, PropertiesInterface, "Set", "ssv", MutterInterface, MutterPowerSaveMode,
            "i", MutterOff)
        < 0)
        return WayFound::NotConfirmed;
    const int mode = mutterPowerSaveMode(session);
    if (mode == MutterOff)
        return WayFound::Done;
    return mode == MutterUnsupported ? WayFound::Unsupported : WayFound::NotConfirmed;
}

// kglobalaccel keeps PowerDevil's component registered when PowerDevil is
// not running, so only an active component counts as PowerDevil being there.
WayFound askPowerDevil(BusConnection &session)
{
    int active = 0;
    const bool there = session.hasService(KGlobalAccelService, false)
        && session.call(KGlobalAccelService, PowerDevilComponentPath, KGlobalAccelComponent, "isActive", nullptr) == 0
        && sd_bus_message_read(session.reply(), "b", &active) >= 0 && active;
    return there ? WayFound::Done : WayFound::Absent;
}

// kglobalaccel answers every invokeShortcut without error, whether anything
// acts on it or not: Done here means only that the shortcut was sent. Whether
// PowerDevil runs is ask()'s question.
WayFound turnOffThroughPowerDevil(BusConnection &session)
{
    if (!session.hasService(KGlobalAccelService, false))
        return WayFound::Absent;
    return session.call(KGlobalAccelService, PowerDevilComponentPath, KGlobalAccelComponent, "invokeShortcut", "s",
               TurnOffScreenShortcut)
            == 0
        ? WayFound::Done
        : WayFound::NotConfirmed;
}

// Xlib reports protocol errors to a process-wide handler whose default ends
// the process. While a catcher lives, errors are only noted. Morvane runs its
// actions on the main thread, so one note suffices.
class XErrorCatcher
{
public:
    XErrorCatcher()
        : m_previous(XSetErrorHandler(note))
    {
        s_lastError = 0;
    }
    ~XErrorCatcher() { XSetErrorHandler(m_previous); }
    XErrorCatcher(const XErrorCatcher &) = delete;
    XErrorCatcher &operator=(const XErrorCatcher &) = delete;

    int lastError() const { return s_lastError; }

private:
    static int note(Display *, XErrorEvent *event)
    {
        s_lastError = event->error_code;
        return 0;
    }

    static inline int s_lastError = 0;
    XErrorHandler m_previous;
};

struct DisplayCloser
{
    void operator()(Display *display) const { XCloseDisplay(display); }
};

bool dpmsCapable(Display *display)
{
    int eventBase = 0;
    int errorBase = 0;
    return DPMSQueryExtension(display, &eventBase, &errorBase) && DPMSCapable(display);
}

WayFound askDpms()
{
    XErrorCatcher errors;
    std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (!display)
        return WayFound::Absent;
    return dpmsCapable(display.get()) ? WayFound::Done : WayFound::Unsupported;
}

// Errors of the DPMS requests arrive asynchronously; XSync collects them
// while the catcher is in place (it outlives the display, whose closing may
// report errors too). The level is read back because the server accepts the
// request even where the screen does not follow.
WayFound turnOffThroughDpms()
{
    XErrorCatcher errors;
    std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (!display)
        return WayFound::Absent;
    if (!dpmsCapable(display.get()))
        return WayFound::Unsupported;

    CARD16 level = DPMSModeOn;
    BOOL enabled = False;
    DPMSInfo(display.get(), &level, &enabled);
    // The server refuses to force a level while DPMS is disabled. It stays
    // enabled afterwards: disabling it again would switch the screen back on.
    if (!enabled)
        DPMSEnable(display.get());
    DPMSForceLevel(display.get(), DPMSModeOff);
    XSync(display.get(), False);
    // XSync has run the error handler, which records into the catcher.
    // cppcheck-suppress knownConditionTrueFalse
    if (errors.lastError())
        return WayFound::NotConfirmed;
    DPMSInfo(display.get(), &level, &enabled);
    return level == DPMSModeOff ? WayFound::Done : WayFound::NotConfirmed;
}

WayFound fromWayland(WaylandOutputPower::Found found)
{
    switch (found) {
    case WaylandOutputPower::Found::NoCompositor:
    case WaylandOutputPower::Found::NoProtocol:
        return WayFound::Absent;
    case WaylandOutputPower::Found::Unsupported:
        return WayFound::Unsupported;
    case WaylandOutputPower::Found::NotConfirmed:
        return WayFound::NotConfirmed;
    case WaylandOutputPower::Found::Ready:
    case WaylandOutputPower::Found::Off:
        break;
    }
    return WayFound::Done;
}

WaylandOutputPower::Protocol protocolOf(DisplayWay way)
{
    return way == DisplayWay::KWinDpms ? WaylandOutputPower::Protocol::KWinDpms
                                       : WaylandOutputPower::Protocol::WlrOutputPower;
}

} // namespace

SessionDisplayWays::SessionDisplayWays(std::chrono::milliseconds callTimeout)
    : m_callTimeout(callTimeout)
{
}

DisplayServer SessionDisplayWays::server() const
{
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return DisplayServer::Wayland;
    return qEnvironmentVariableIsEmpty("DISPLAY") ? DisplayServer::NoServer : DisplayServer::X11;
}

WayFound SessionDisplayWays::ask(DisplayWay way)
{
    switch (way) {
    case DisplayWay::KWinDpms:
    case DisplayWay::WlrOutputPower:
        return fromWayland(WaylandOutputPower(protocolOf(way), m_callTimeout).ask());
    case DisplayWay::X11Dpms:
        return askDpms();
    case DisplayWay::Mutter:
    case DisplayWay::PowerDevil:
        break;
    }
    // Without a session bus there is no desktop service to ask.
    BusConnection session(BusConnection::Bus::Session, m_callTimeout);
    if (session.openStatus() != 0)
        return WayFound::Absent;
    return way == DisplayWay::Mutter ? askMutter(session) : askPowerDevil(session);
}

WayFound SessionDisplayWays::turnOff(DisplayWay way)
{
    switch (way) {
    case DisplayWay::KWinDpms:
    case DisplayWay::WlrOutputPower:
        return fromWayland(WaylandOutputPower(protocolOf(way), m_callTimeout).turnOff());
    case DisplayWay::X11Dpms:
        return turnOffThroughDpms();
    case DisplayWay::Mutter:
    case DisplayWay::PowerDevil:
        break;
    }
    BusConnection session(BusConnection::Bus::Session, m_callTimeout);
    if (session.openStatus() != 0)
        return WayFound::Absent;
    return way == DisplayWay::Mutter ? turnOffThroughMutter(session) : turnOffThroughPowerDevil(session);
}
