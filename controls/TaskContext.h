#pragma once

#include "controls/Alerts.h"
#include "controls/Control.h"

#include <QString>
#include <QtGlobal>

class RunningTask;

// Where a control is looked up. A schedule page that is not shown is not
// part of the window's tree, so a page's controls are always looked up in
// that page.
enum class Area {
    Window, // the window's content view
    ActionBox, // the box of the action matrix and the choose-script button
    CountdownPage, // schedule page 0, "Timer"
    DatePage, // schedule page 1
};

// What the window's handlers (the task controller, the schedule editor, the
// tick and the settings writer) need of the window they work in. The
// application's controller implements it and hands it down at construction;
// nothing below the application calls up into it by any other way.
class TaskContext
{
public:
    virtual ~TaskContext() = default;

    // The control with that tag in the area; an empty handle when none.
    virtual Control control(qint64 tag, Area area) const = 0;
    // The label of the schedule page shown ("Timer" for the countdown page).
    virtual QString selectedPageLabel() const = 0;
    // Whether the date page is the schedule page shown.
    virtual bool isDatePageShown() const = 0;

    // The running task's count in seconds, 0 while idle: the time left as
    // the last tick found it, from the task's due time.
    virtual qint64 counterTimer() const = 0;
    virtual void setCounterTimer(qint64 count) = 0;
    // The smallest task length in seconds.
    virtual qint64 minimumCounter() const = 0;
    virtual void setMinimumCounter(qint64 minimum) = 0;

    // A modal alert with one button "Ok"; returns when it is dismissed. No
    // tick runs while it is open.
    virtual void showAlert(AlertKind kind, const QString &message) = 0;

    // Unlocks the window and ends the task without acting.
    virtual void returnToIdle() = 0;

    // The task that counts down: started and ended by the window's
    // handlers, ticked by the tick. The title, the warnings and the idle
    // lock follow its signals.
    virtual RunningTask &runningTask() = 0;
};
