#pragma once

#include "app/TaskRequest.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>
#include <QStringList>

class QCommandLineParser;

// Morvane's command line, read before any window exists so that --help,
// --version and a bad argument need no display. Qt's own options
// (-platform, -style, ...) pass through to the application untouched. Its
// texts are in the language of the catalogues installed when it is read.
class CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    enum class Outcome {
        Start, // open the window, and start the task asked for, if any
        Help,
        Version,
        Error, // a bad argument: message() says which
    };

    // The program's arguments as Qt reads them, the program's name first.
    static QStringList arguments(int argc, char **argv);
    // The arguments with each file named in them made absolute against
    // folder, the one they were typed in, so that they mean the same file to
    // a Morvane started elsewhere.
    static QStringList withAbsolutePaths(const QStringList &arguments, const QString &folder);
    // Reads arguments (the program's name first); "18:00" means the next
    // 18:00 after now. A task the window would refuse (a missing script, a
    // length past the largest count, a time passed or skipped) is an Error
    // whose message is the window's own sentence.
    static CommandLine parse(const QStringList &arguments, const QDateTime &now = QDateTime::currentDateTime());

    Outcome outcome() const { return m_outcome; }
    const TaskRequest &request() const { return m_request; }
    // The help, the version or what is wrong.
    const QString &message() const { return m_message; }
    // The arguments as given, for the Morvane already running.
    const QStringList &given() const { return m_given; }

    // Prints the help or the version on standard output, or what is wrong on
    // standard error, and answers the exit status: 0, or 2 for an error.
    int report() const;

private:
    // What is wrong with the task options, empty when nothing is.
    QString readTask(const QCommandLineParser &parser, const QDateTime &now);
    // The window's start checks, for the task read: the window's text for
    // the first that fails, empty when all pass.
    QString checkTask(const QDateTime &now) const;

    Outcome m_outcome = Outcome::Start;
    TaskRequest m_request;
    QString m_message;
    QStringList m_given;
};
