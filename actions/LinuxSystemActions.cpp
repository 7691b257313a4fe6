#include "actions/LinuxSystemActions.h"

#include "actions/DisplayPower.h"
#include "actions/ScriptRunner.h"
#include "actions/PowerEvent.h"

LinuxSystemActions::LinuxSystemActions(std::chrono::milliseconds callTimeout)
    : m_callTimeout(callTimeout)
{
}

int LinuxSystemActions::sendPowerEvent(quint32 eventId)
{
    return ::sendPowerEvent(eventId, m_callTimeout);
}

int LinuxSystemActions::turnDisplayOff()
{
    return DisplayPower(m_callTimeout).turnOff();
}

void LinuxSystemActions::runScript(const QString &path)
{
    ScriptRunner::run(path);
}
