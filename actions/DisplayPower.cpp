#include "actions/DisplayPower.h"

#include <systemd/sd-bus.h>

#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>

#include <cerrno>
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

// Mutter takes the request as a property write; it also owns the name where
// the hardware cannot do it, and says so with PowerSaveMode -1, in which case
// the next way is tried.
int turnOffThroughMutter(BusConnection &session)
{
    if (!session.hasService(MutterService, false))
        return DisplayPower::NoService;

    int status = session.call(
        MutterService, MutterPath, PropertiesInterface, "Get", "ss", MutterInterface, MutterPowerSaveMode);
    if (status < 0)
        return session.lastErrorIsMissingObject() ? DisplayPower::NoService : status;
    int mode = MutterUnsupported;
    status = sd_bus_message_read(session.reply(), "v", "i", &mode);
    if (status < 0)
        return status;
    if (mode == MutterUnsupported)
        return DisplayPower::NoService;

    return session.call(MutterService, MutterPath, PropertiesInterface, "Set", "ssv", MutterInterface,
        MutterPowerSaveMode, "i", MutterOff);
}

// kglobalaccel also runs for KDE applications inside other desktops; only
// where PowerDevil registered its component is the shortcut there.
int turnOffThroughPowerDevil(BusConnection &session)
{
    if (!session.hasService(KGlobalAccelService, false))
        return DisplayPower::NoService;

    const int status = session.call(KGlobalAccelService, PowerDevilComponentPath, KGlobalAccelComponent,
        "invokeShortcut", "s", TurnOffScreenShortcut);
    if (status < 0 && session.lastErrorIsMissingObject())
        return DisplayPower::NoService;
    return status;
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

// Errors of the DPMS requests arrive asynchronously; XSync collects them
// while the catcher is in place (it outlives the display, whose closing may
// report errors too). The level is read back because the server accepts the
// request even where the screen does not follow.
int turnOffThroughDpms()
{
    XErrorCatcher errors;
    std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
    if (!display)
        return DisplayPower::NoService;

    int eventBase = 0;
    int errorBase = 0;
    if (!DPMSQueryExtension(display.get(), &eventBase, &errorBase) || !DPMSCapable(display.get()))
        return DisplayPower::NoService;

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
        return -EPROTO;
    DPMSInfo(display.get(), &level, &enabled);
    return level == DPMSModeOff ? 0 : -EIO;
}

} // namespace

DisplayPower::DisplayPower(std::chrono::milliseconds callTimeout)
    : m_callTimeout(callTimeout)
{
}

int DisplayPower::turnOff() const
{
    {
        // Without a session bus there is no desktop service to ask; X may
        // still be there.
        BusConnection session(BusConnection::Bus::Session, m_callTimeout);
        if (session.openStatus() == 0) {
            int status = turnOffThroughMutter(session);
            if (status != NoService)
                return status;
            status = turnOffThroughPowerDevil(session);
            if (status != NoService)
                return status;
        }
    }
    return turnOffThroughDpms();
}
