#pragma once

#include <QString>

#include <functional>

// A warning on the desktop that a running task's action is near, with a
// Stop and a Postpone button, and the notice that a task was not carried
// out. The product shows a desktop notification; tests hand in a
// recorder. Without a notification service nothing is shown and nothing
// fails: a warning is a courtesy, never a condition of the task.
class TaskNotifier
{
public:
    virtual ~TaskNotifier() = default;

    // Shows the warning in place of the one shown before, if any.
    virtual void show(const QString &summary, const QString &body) = 0;
    // Takes the warning away; nothing when none is shown.
    virtual void withdraw() = 0;
    // What pressing the warning's Stop or Postpone button does.
    virtual void setStopHandler(std::function<void()> handler) = 0;
    virtual void setPostponeHandler(std::function<void()> handler) = 0;
    // A notice without buttons, beside the warnings: neither replaces nor
    // withdraws one.
    virtual void tell(const QString &summary, const QString &body) = 0;
};
