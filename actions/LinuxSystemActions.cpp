#include "actions/LinuxSystemActions.h"

#include "actions/DisplayPower.h"
#include "actions/ScriptRunner.h"
#include "actions/SystemProcessEvent.h"

LinuxSystemActions::LinuxSystemActions(std::chrono::milliseconds callTimeout)
    : m_callTimeout(callTimeout)
{
}

int LinuxSystemActions::sendSystemProcessEvent(quint32 eventId)
{
    return ::sendSystemProcessEvent(eventId, m_callTimeout);
}

int LinuxSystemActions::dimDisplayNow()
{
    return DisplayPower(m_callTimeout).dimDisplayNow();
}

void LinuxSystemActions::runAppleScript(const QString &path)
{
    ScriptRunner::runAppleScript(path);
}
