#pragma once

#include "actions/BusConnection.h"
#include "actions/SystemActions.h"

#include <chrono>

// Morvane's system actions on a Linux desktop: logind and the desktop's
// session manager over D-Bus, display power-off through the desktop or the X
// server, scripts run as programs. Keeps no connection: each action opens
// the buses it needs and closes them before returning.
class LinuxSystemActions : public SystemActions
{
public:
    explicit LinuxSystemActions(std::chrono::milliseconds callTimeout = BusConnection::DefaultCallTimeout);

    int sendPowerEvent(quint32 eventId) override;
    int turnDisplayOff() override;
    QString displayOffFailure() override;
    void runScript(const QString &path) override;
    Readiness powerEventReadiness(quint32 eventId) override;
    Readiness displayReadiness() override;

private:
    std::chrono::milliseconds m_callTimeout;
    QString m_displayOffFailure;
};
