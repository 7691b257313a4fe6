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
// plain sentence on what it means and what the user can do.
QString failedAction(int status);

inline const char *const MissingScript = "The script file does not exist";
inline const char *const IllegalNumber = "Illegal Number!";
inline const char *const UnknownUnit = "Choose a unit from the list: Years, Months, Days, Hours, Minutes or Seconds.";
inline const char *const DatePassed = "The date has passed. Choose a date and time later than now.";
inline const char *const CloseRefused = "You can not close the application when timing task is running!";
} // namespace AlertText
