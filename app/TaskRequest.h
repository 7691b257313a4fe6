#pragma once

#include "controls/ActionRow.h"

#include <QDateTime>
#include <QString>

#include <optional>

// The task a command line asks for, in the window's terms: the action row,
// and either a countdown in seconds (--in) or a moment (--at).
struct TaskRequest
{
    // None: the command line asks for no task.
    ActionRow action = ActionRow::None;
    std::optional<qint64> countdown;
    std::optional<QDateTime> moment;
    // The script file of the Run Script row.
    QString script;
    // --postpone: seconds to move the running task later by, instead of a
    // task.
    std::optional<qint64> postpone;

    bool asksForTask() const { return action != ActionRow::None; }
};
