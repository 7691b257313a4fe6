#pragma once

#include <QString>

// Runs a script file chosen by the user as a program, to its end.
class ScriptRunner
{
public:
    // Runs the file at path (made absolute against the current directory)
    // and returns when it has ended. An executable file runs by itself (as a
    // shell script when the system cannot execute it); any other file runs
    // with the interpreter named on its "#!" line, or with /bin/sh when it
    // has none. The path is handed over as one argument, never through a
    // shell command line; standard input is /dev/null. A file that cannot be
    // started, or a script that fails, is ignored: nothing is reported.
    static void run(const QString &path);
};
