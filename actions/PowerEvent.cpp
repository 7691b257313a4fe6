#include "actions/PowerEvent.h"

#include "actions/BusConnection.h"
#include "actions/SystemActions.h"

#include <QByteArray>
#include <QList>

#include <systemd/sd-bus.h>

#include <cerrno>
#include <cstdint>
#include <initializer_list>

namespace {

constexpr char LogindService[] = "org.freedesktop.login1";
constexpr char LogindPath[] = "/org/freedesktop/login1";
constexpr char LogindManager[] = "org.freedesktop.login1.Manager";
// logind resolves "auto" to the session of the calling process, whose owner
// may end it without any further permission.
constexpr char LogindOwnSession[] = "/org/freedesktop/login1/session/auto";
constexpr char LogindSession[] = "org.freedesktop.login1.Session";

// How each desktop's session manager logs out without asking the user.
enum class LogOutCall {
    ModeNoConfirmation, // Logout(u 1)
    NoArguments, // logout()
    NoDialogNoSave, // Logout(b false, b false)
};

struct SessionManager
{
    const char *service;
    const char *path;
    const char *interface;
    const char *member;
    LogOutCall arguments;
    // Entries of XDG_CURRENT_DESKTOP that name a desktop using this manager.
    std::initializer_list<const char *> desktops;
};

// In the order Morvane tries them when XDG_CURRENT_DESKTOP names none of
// them. MATE, Cinnamon and the desktops built on gnome-session own GNOME's
// name and answer as GNOME does.
const SessionManager SessionManagers[] = {
    {"org.gnome.SessionManager", "/org/gnome/SessionManager", "org.gnome.SessionManager", "Logout",
        LogOutCall::ModeNoConfirmation,
        {"GNOME", "GNOME-Classic", "GNOME-Flashback", "Unity", "Budgie", "MATE", "X-Cinnamon", "Cinnamon"}},
    {"org.kde.Shutdown", "/Shutdown", "org.kde.Shutdown", "logout", LogOutCall::NoArguments, {"KDE"}},
    {"org.xfce.SessionManager", "/org/xfce/SessionManager", "org.xfce.Session.Manager", "Logout",
        LogOutCall::NoDialogNoSave, {"XFCE"}},
    {"org.lxqt.session", "/LXQtSession", "org.lxqt.session", "logout", LogOutCall::NoArguments, {"LXQt"}},
};

bool usedBy(const SessionManager &manager, const QByteArray &desktop)
{
    for (const char *name : manager.desktops) {
        if (desktop.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// The running desktop's own manager comes first: several managers may be on
// one session bus (a KDE service started inside a GNOME session, say). KDE's
// is started by the bus on demand, so for the desktop named in
// XDG_CURRENT_DESKTOP a name that the bus can start counts as there. Failing
// that, any other manager that is running; one that is merely installed is
// not started, as it would not end a session it does not manage.
const SessionManager *findSessionManager(BusConnection &session)
{
    QList<const SessionManager *> desktopsOwn;
    const QList<QByteArray> desktops = qgetenv("XDG_CURRENT_DESKTOP").split(':');
    for (const QByteArray &desktop : desktops) {
        for (const SessionManager &manager : SessionManagers) {
            if (usedBy(manager, desktop) && !desktopsOwn.contains(&manager))
                desktopsOwn.append(&manager);
        }
    }
    for (const SessionManager *manager : std::as_const(desktopsOwn)) {
        if (session.hasService(manager->service, true))
            return manager;
    }
    for (const SessionManager &manager : SessionManagers) {
        if (!desktopsOwn.contains(&manager) && session.hasService(manager.service, false))
            return &manager;
    }
    return nullptr;
}

int callSessionManager(BusConnection &session, const SessionManager &manager)
{
    switch (manager.arguments) {
    case LogOutCall::ModeNoConfirmation:
        return session.call(manager.service, manager.path, manager.interface, manager.member, "u", uint32_t(1));
    case LogOutCall::NoDialogNoSave:
        // A saved session would start Morvane again at the next log-in, and
        // the user did not ask for one to be saved.
        return session.call(manager.service, manager.path, manager.interface, manager.member, "bb", 0, 0);
    case LogOutCall::NoArguments:
        break;
    }
    return session.call(manager.service, manager.path, manager.interface, manager.member, nullptr);
}

// interactive is false: the countdown runs unattended, so a request that
// would need a password fails at once (-EACCES) instead of waiting for a
// dialog that nobody may answer.
int callLogindManager(const char *member, std::chrono::milliseconds callTimeout)
{
    BusConnection system(BusConnection::Bus::System, callTimeout);
    if (system.openStatus() < 0)
        return system.openStatus();
    return system.call(LogindService, LogindPath, LogindManager, member, "b", 0);
}

int logOut(std::chrono::milliseconds callTimeout)
{
    {
        // A session without a session bus, or without a manager on it, is
        // still a logind session: it is ended below.
        BusConnection session(BusConnection::Bus::Session, callTimeout);
        if (session.openStatus() == 0) {
            if (const SessionManager *manager = findSessionManager(session))
                return callSessionManager(session, *manager);
        }
    }

    BusConnection system(BusConnection::Bus::System, callTimeout);
    if (system.openStatus() < 0)
        return system.openStatus();
    return system.call(LogindService, LogindOwnSession, LogindSession, "Terminate", nullptr);
}

// logind's answer to one of its Can* questions.
Readiness askLogind(const char *member, std::chrono::milliseconds callTimeout)
{
    BusConnection system(BusConnection::Bus::System, callTimeout);
    const char *answer = nullptr;
    if (system.openStatus() < 0 || system.call(LogindService, LogindPath, LogindManager, member, nullptr) < 0
        || sd_bus_message_read(system.reply(), "s", &answer) < 0 || !answer)
        return Readiness::NoAnswer;
    const QByteArray text(answer);
    if (text == "yes")
        return Readiness::Ready;
    if (text == "challenge")
        return Readiness::NeedsPassword;
    if (text == "na")
        return Readiness::NotSupported;
    return Readiness::Refused;
}

Readiness logOutReadiness(std::chrono::milliseconds callTimeout)
{
    {
        BusConnection session(BusConnection::Bus::Session, callTimeout);
        if (session.openStatus() == 0 && findSessionManager(session))
            return Readiness::Ready;
    }
    BusConnection system(BusConnection::Bus::System, callTimeout);
    return system.openStatus() == 0 && system.hasService(LogindService, false) ? Readiness::Ready : Readiness::NoAnswer;
}

} // namespace

Readiness powerEventReadiness(quint32 eventId, std::chrono::milliseconds callTimeout)
{
    switch (eventId) {
    case EventId::Restart:
        return askLogind("CanReboot", callTimeout);
    case EventId::ShutDown:
        return askLogind("CanPowerOff", callTimeout);
    case EventId::Sleep:
        return askLogind("CanSuspend", callTimeout);
    case EventId::ReallyLogOut:
        return logOutReadiness(callTimeout);
    }
    return Readiness::NotSupported;
}

int sendPowerEvent(quint32 eventId)
{
    return sendPowerEvent(eventId, BusConnection::DefaultCallTimeout);
}

int sendPowerEvent(quint32 eventId, std::chrono::milliseconds callTimeout)
{
    switch (eventId) {
    case EventId::Restart:
        return callLogindManager("Reboot", callTimeout);
    case EventId::ShutDown:
        return callLogindManager("PowerOff", callTimeout);
    case EventId::Sleep:
        return callLogindManager("Suspend", callTimeout);
    case EventId::ReallyLogOut:
        return logOut(callTimeout);
    }
    return -EINVAL;
}
