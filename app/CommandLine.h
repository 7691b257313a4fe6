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
    // Reads arguments (the program's name first); "18:00" means the next
    // 18:00 after now.
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

    Outcome m_outcome = Outcome::Start;
    TaskRequest m_request;
    QString m_message;
    QStringList m_given;
};
