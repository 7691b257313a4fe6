#pragma once

#include "app/TaskRequest.h"

class AppDelegate;

// Starts the task a command line asks for the way a user would: selects the
// action row, fills in the script, the countdown page's number and unit or
// date picker A, and presses Run. Every check and alert of the window
// applies, and the window is left showing what was asked for.
class CommandLineTask
{
public:
    explicit CommandLineTask(AppDelegate &delegate);

    // Does nothing when the request asks for no task or a task runs already.
    void start(const TaskRequest &request);

private:
    AppDelegate &m_delegate;
};
