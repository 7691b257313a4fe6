#pragma once

#include "actions/SystemActions.h"

#include <optional>

// The rows of the action matrix, in the order the window shows them.
enum class ActionRow {
    None = -1, // no row selected: a task that ends does nothing
    Restart = 0,
    ShutDown = 1,
    LogOut = 2,
    Sleep = 3,
    DisplaySleep = 4,
    RunScript = 5,
};

// The row for a matrix's selected index; anything out of range is None.
constexpr ActionRow actionRowAt(int index)
{
    return index >= int(ActionRow::Restart) && index <= int(ActionRow::RunScript) ? ActionRow(index) : ActionRow::None;
}

// The power or session event a row sends when its task ends; nothing for
// the rows that do something else.
constexpr std::optional<quint32> powerEventOf(ActionRow row)
{
    switch (row) {
    case ActionRow::Restart:
        return EventId::Restart;
    case ActionRow::ShutDown:
        return EventId::ShutDown;
    case ActionRow::LogOut:
        return EventId::ReallyLogOut;
    case ActionRow::Sleep:
        return EventId::Sleep;
    default:
        return std::nullopt;
    }
}
