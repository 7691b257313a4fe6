#pragma once

#include "actions/SystemActions.h"
#include "controls/ActionRow.h"

#include <QString>

class TaskContext;

// The line under the actions that tells the user early, when an action is
// selected and when a task starts, that the system will refuse it when the
// time comes. It only informs: no alert, and Run still does what it does.
class ReadinessNotice
{
public:
    ReadinessNotice(TaskContext &context, SystemActions &actions);

    // Asks the system about the selected action and shows or hides the line.
    void update();

    // The line for an action and the system's answer; empty when nothing
    // stands against it.
    static QString text(ActionRow row, Readiness readiness);
    // The same reason as a clause, to follow a warning ("there is no way to
    // turn the display off here"); empty when nothing stands against it.
    static QString reason(ActionRow row, Readiness readiness);

    // The reason for the action selected at the last update().
    QString refusal() const { return m_refusal; }

private:
    TaskContext &m_context;
    SystemActions &m_actions;
    QString m_refusal;
};
