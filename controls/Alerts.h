#pragma once

#include <QString>

// The two kinds of alert Morvane shows: a refused request or a missing
// script ("Reminder"), and a failed system action ("Error!").
enum class AlertKind {
    Reminder,
    Error,
};

// Every text an alert shows, in one place.
namespace AlertText {
// The alert's heading for its kind.
QString title(AlertKind kind);

// The message of a failed system action: the status as a number, then one
// plain sentence on what it means and what the user can do; the action's own
// sentence where it gave one.
QString failedAction(int status, const QString &why = QString());

// The refusals and the missing script, in the user's language.
QString missingScript();
QString illegalNumber();
QString unknownUnit();
QString datePassed();
QString timeSkipped();
QString closeRefused();
} // namespace AlertText
