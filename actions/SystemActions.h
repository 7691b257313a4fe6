#pragma once

#include <QString>
#include <QtGlobal>

// The four session and power events, as 32-bit four-character codes whose
// most significant byte is the first character.
namespace EventId {
constexpr quint32 Restart = 0x72657374; // "rest"
constexpr quint32 ShutDown = 0x73687574; // "shut"
constexpr quint32 ReallyLogOut = 0x726C676F; // "rlgo"
constexpr quint32 Sleep = 0x736C6570; // "slep"
} // namespace EventId

// Whether the system would carry out an action if asked now, as far as it
// can tell without trying: logind's Can* answers ("yes", "no", "na",
// "challenge") and whether a service is there at all.
enum class Readiness {
    Ready,
    Refused, // "no": not allowed for this user now
    NotSupported, // "na", or no service that can do it
    NeedsPassword, // "challenge": polkit would ask, and nobody may answer
    NoAnswer, // the service does not answer
};

// What Morvane asks of the system when a task ends. The scheduling engine
// only ever talks to this interface; the product uses LinuxSystemActions,
// tests hand in a recorder.
class SystemActions
{
public:
    virtual ~SystemActions() = default;

    // Sends one of the EventId events. 0 once the service accepted the
    // request (the action itself follows later), else a negative errno.
    virtual int sendPowerEvent(quint32 eventId) = 0;

    // Turns the display off now. 0 once a service confirmed the display
    // off, otherwise 1.
    virtual int turnDisplayOff() = 0;
    // After turnDisplayOff() answered 1: one sentence naming what was there
    // and why it could not turn the display off.
    virtual QString displayOffFailure() = 0;

    // Runs the script file at path to its end. Reports nothing.
    virtual void runScript(const QString &path) = 0;

    // Whether sendPowerEvent(eventId) or turnDisplayOff() would be carried
    // out. Asks with a short time-out, so the window never waits long.
    virtual Readiness powerEventReadiness(quint32 eventId) = 0;
    virtual Readiness displayReadiness() = 0;
};
