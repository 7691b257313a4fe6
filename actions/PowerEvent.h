#pragma once

#include <QtGlobal>

#include <chrono>

// Sends one of the EventId events (SystemActions.h) on its way:
// restart, shut down and sleep to logind's Manager on the system bus with
// interactive authorization off; log out to the session manager of the
// running desktop on the session bus, or to logind's Terminate of the
// caller's own session when no session manager is there.
//
// Returns 0 once the service accepted the request (the action follows
// later), else the negative errno of the first step that failed: opening the
// bus, building the call, sending it, the service's refusal (-EACCES) or
// absence (-EHOSTUNREACH), or no answer within the call time-out
// (-ETIMEDOUT). An unknown event gives -EINVAL and sends nothing.
int sendPowerEvent(quint32 eventId);

// The same with a call time-out other than BusConnection::DefaultCallTimeout.
int sendPowerEvent(quint32 eventId, std::chrono::milliseconds callTimeout);

// Whether sendPowerEvent(eventId) would be carried out now: logind's
// CanReboot, CanPowerOff or CanSuspend, and for log out whether a session
// manager or logind is there to end the session.
enum class Readiness;
Readiness powerEventReadiness(quint32 eventId, std::chrono::milliseconds callTimeout);
