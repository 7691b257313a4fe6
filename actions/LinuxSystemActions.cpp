#include "actions/LinuxSystemActions.h"

#include "actions/DisplayPower.h"
#include "actions/PowerEvent.h"
#include "actions/ScriptRunner.h"
#include "actions/SessionDisplayWays.h"

#include <algorithm>

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
    SessionDisplayWays ways(m_callTimeout);
    DisplayPower power(ways);
    const int status = power.turnOff();
    m_displayOffFailure = power.failure();
    return status;
}

QString LinuxSystemActions::displayOffFailure()
{
    return m_displayOffFailure;
}

void LinuxSystemActions::runScript(const QString &path)
{
    ScriptRunner::run(path);
}

namespace {
// A question is not worth holding the window for: where the answer is slow,
// the action would most likely be too.
constexpr std::chrono::milliseconds QuestionTimeout {500};
} // namespace

Readiness LinuxSystemActions::powerEventReadiness(quint32 eventId)
{
    return ::powerEventReadiness(eventId, std::min(m_callTimeout, QuestionTimeout));
}

Readiness LinuxSystemActions::displayReadiness()
{
    SessionDisplayWays ways(std::min(m_callTimeout, QuestionTimeout));
    return DisplayPower(ways).canTurnOff() ? Readiness::Ready : Readiness::NotSupported;
}
