#include "actions/DisplayPower.h"

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

// Mutter takes the request as a property write, and accepts the write even
// where it cannot turn the display off (on an X server without DPMS the
// property then reads -1). Only a read-back of "off" counts.
bool turnOffThroughMutter(BusConnection &session)
{
    if (!session.hasService(MutterService, false))
        return false;
    if (session.call(MutterService, MutterPath, PropertiesInterface, "Set", "ssv", MutterInterface, MutterPowerSaveMode,
            "i", MutterOff)
        < 0)
        return false;
    return mutterPowerSaveMode(session) == MutterOff;
}

bool powerDevilActive(BusConnection &session)
{
    int active = 0;
    return session.hasService(KGlobalAccelService, false)
        && session.call(KGlobalAccelService, PowerDevilComponentPath, KGlobalAccelComponent, "isActive", nullptr) == 0
        && sd_bus_message_read(session.reply(), "b", &active) >= 0 && active;
}

// kglobalaccel answers every invokeShortcut without error, whether anything
// acts on it or not, and it keeps PowerDevil's component registered when
// PowerDevil is not running. So the shortcut counts only while the component
// is active; whether the screen went off cannot be asked.
bool turnOffThroughPowerDevil(BusConnection &session)
{
    return powerDevilActive(session)
        && session.call(KGlobalAccelService, PowerDevilComponentPath, KGlobalAccelComponent, "invokeShortcut", "s",
               TurnOffScreenShortcut)
        == 0;
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

bool hasDpms()
{
    XErrorCatcher errors;
    std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    int eventBase = 0;
    int errorBase = 0;
    return display && DPMSQueryExtension(display.get(), &eventBase, &errorBase) && DPMSCapable(display.get());
}

// Errors of the DPMS requests arrive asynchronously; XSync collects them
// while the catcher is in place (it outlives the display, whose closing may
// report errors too). The level is read back because the server accepts the
// request even where the screen does not follow.
bool turnOffThroughDpms()
{
    XErrorCatcher errors;
    std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (!display)
        return false;

    int eventBase = 0;
    int errorBase = 0;
    if (!DPMSQueryExtension(display.get(), &eventBase, &errorBase) || !DPMSCapable(display.get()))
        return false;

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
        return false;
    DPMSInfo(display.get(), &level, &enabled);
    return level == DPMSModeOff;
}

// An X11 session: Morvane's own window is on an X server, not a Wayland
// compositor that may also offer X clients a server of its own.
bool onX11()
{
    return qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && !qEnvironmentVariableIsEmpty("DISPLAY");
}

} // namespace

DisplayPower::DisplayPower(std::chrono::milliseconds callTimeout)
    : m_callTimeout(callTimeout)
{
}

int DisplayPower::turnOff() const
{
    // Without a session bus there is no desktop service to ask; X may still
    // be there. On X11 the server's DPMS, which can be read back, goes
    // before PowerDevil's shortcut, which cannot.
    BusConnection session(BusConnection::Bus::Session, m_callTimeout);
    const bool bus = session.openStatus() == 0;
    if (bus && turnOffThroughMutter(session))
        return 0;
    if (onX11())
        return turnOffThroughDpms() ? 0 : NoService;
    if (bus && turnOffThroughPowerDevil(session))
        return 0;
    return NoService;
}

bool DisplayPower::canTurnOff() const
{
    // On X11 every way ends at the X server's DPMS (Mutter's too, whose
    // property reads 0 there until its first write, DPMS or not).
    if (onX11())
        return hasDpms();
    BusConnection session(BusConnection::Bus::Session, m_callTimeout);
    if (session.openStatus() != 0)
        return false;
    return (session.hasService(MutterService, false) && mutterPowerSaveMode(session) != MutterUnsupported)
        || powerDevilActive(session);
}
