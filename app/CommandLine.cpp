#include "app/CommandLine.h"

#include "app/Config.h"
#include "schedule/Duration.h"
#include "schedule/TargetTime.h"

#include <QCommandLineParser>

#include <cstdio>

namespace {

struct ActionName
{
    const char *name;
    ActionRow row;
};

constexpr ActionName ActionNames[] = {
    {"shutdown", ActionRow::ShutDown},
    {"restart", ActionRow::Restart},
    {"logout", ActionRow::LogOut},
    {"sleep", ActionRow::Sleep},
    {"display-off", ActionRow::DisplaySleep},
    {"script", ActionRow::RunScript},
};

// QApplication reads these itself; they are accepted here and left alone.
const char *const QtOptionsWithValue[]
    = {"platform", "platformpluginpath", "platformtheme", "plugin", "display", "geometry", "qwindowgeometry", "title",
        "qwindowtitle", "icon", "qwindowicon", "name", "session", "style", "stylesheet"};
const char *const QtSwitches[] = {"reverse", "widgetcount", "sync"};

void addQtOption(QCommandLineParser &parser, const char *name, bool takesValue)
{
    QCommandLineOption option(QString::fromLatin1(name), QString(), takesValue ? QStringLiteral("value") : QString());
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
}

// The names the task options are read by.
const QString Action = QStringLiteral("action");
const QString In = QStringLiteral("in");
const QString At = QStringLiteral("at");
const QString Script = QStringLiteral("script");
const QString Postpone = QStringLiteral("postpone");

} // namespace

QStringList CommandLine::arguments(int argc, char **argv)
{
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list << QString::fromLocal8Bit(argv[i]);
    return list;
}

CommandLine CommandLine::parse(const QStringList &arguments, const QDateTime &now)
{
    CommandLine result;
    result.m_given = arguments;

    QCommandLineParser parser;
    // Qt's options have one dash ("-style"); so "-h" is the only short one.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        tr("Morvane restarts, shuts down, logs out, puts the computer to sleep, turns the\n"
           "display off or runs a script when the time you chose comes. With --action and\n"
           "--in or --at it fills in its window as you would and presses Run, so every\n"
           "check of the window applies. A second start hands its command line to the\n"
           "Morvane already running, which leaves a running task alone."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, tr("Shows this help and exits."));
    const QCommandLineOption version(QStringLiteral("version"), tr("Shows the version and exits."));
    parser.addOptions({help, version,
        {Action, tr("What to do: shutdown, restart, logout, sleep, display-off or script."), QStringLiteral("action")},
        {In, tr("When: after a countdown such as 45s, 90m, 2h30m or 1d (units s, m, h, d)."),
            QStringLiteral("duration")},
        {At, tr("When: at a date and time such as 2026-12-24T18:00, or at the next 18:00."), QStringLiteral("time")},
        {Script, tr("The script file that --action script runs."), QStringLiteral("path")},
        {Postpone, tr("Moves the task that is counting down later, such as by 10m."), QStringLiteral("duration")}});
    for (const char *name : QtOptionsWithValue)
        addQtOption(parser, name, true);
    for (const char *name : QtSwitches)
        addQtOption(parser, name, false);

    QString wrong;
    if (!parser.parse(arguments))
        wrong = parser.errorText();
    else if (parser.isSet(help))
        result.m_outcome = Outcome::Help;
    else if (parser.isSet(version))
        result.m_outcome = Outcome::Version;
    else if (!parser.positionalArguments().isEmpty())
        wrong = tr("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst());
    else
        wrong = result.readTask(parser, now);

    if (!wrong.isEmpty()) {
        result.m_outcome = Outcome::Error;
        result.m_request = TaskRequest();
        result.m_message
            = QStringLiteral("morvane: %1\n").arg(wrong) + tr("Try 'morvane --help' for more information.") + '\n';
    } else if (result.m_outcome == Outcome::Help) {
        // Qt names the program after the file that runs, or after nothing
        // before an application object exists; the installed name it is.
        const QString text = parser.helpText();
        result.m_message = tr("Usage: morvane [options]") + text.mid(text.indexOf(QLatin1Char('\n'))) + '\n'
            + tr("Examples:")
            + QStringLiteral("\n  morvane --action shutdown --in 90m\n"
                             "  morvane --action script --script ~/backup.sh --at 23:30\n"
                             "  morvane --postpone 10m\n");
    } else if (result.m_outcome == Outcome::Version) {
        result.m_message = QStringLiteral("morvane " MORVANE_VERSION "\n");
    }
    return result;
}

QString CommandLine::readTask(const QCommandLineParser &parser, const QDateTime &now)
{
    for (const QString &option : {Action, In, At, Script, Postpone}) {
        if (parser.values(option).size() > 1)
            return tr("--%1 is given more than once.").arg(option);
    }
    if (parser.isSet(Postpone)) {
        if (parser.isSet(Action) || parser.isSet(In) || parser.isSet(At) || parser.isSet(Script))
            return tr("--postpone goes alone: it moves the task that runs.");
        m_request.postpone = Duration::parse(parser.value(Postpone));
        if (!m_request.postpone)
            return tr("'%1' is not a duration: write numbers with the units s, m, h or d, such as 45s, 90m or 2h30m.")
                .arg(parser.value(Postpone));
        return QString();
    }
    const bool hasAction = parser.isSet(Action);
    const bool hasIn = parser.isSet(In);
    const bool hasAt = parser.isSet(At);
    if (!hasAction && !hasIn && !hasAt && !parser.isSet(Script))
        return QString();
    if (!hasAction)
        return tr("--in, --at and --script need --action.");
    if (hasIn == hasAt)
        return tr("--action needs a time: either --in or --at.");

    const QString action = parser.value(Action);
    for (const ActionName &known : ActionNames) {
        if (action == QLatin1String(known.name))
            m_request.action = known.row;
    }
    if (m_request.action == ActionRow::None)
        return tr("Unknown action '%1': choose shutdown, restart, logout, sleep, display-off or script.").arg(action);
    if ((m_request.action == ActionRow::RunScript) != parser.isSet(Script))
        return tr("--action script and --script PATH go together.");
    m_request.script = parser.value(Script);

    if (hasIn) {
        m_request.countdown = Duration::parse(parser.value(In));
        if (!m_request.countdown)
            return tr("'%1' is not a duration: write numbers with the units s, m, h or d, such as 45s, 90m or 2h30m.")
                .arg(parser.value(In));
    } else {
        m_request.moment = TargetTime::parse(parser.value(At), now);
        if (!m_request.moment)
            return tr("'%1' is not a time: write a date and time such as 2026-12-24T18:00, or a time such as 18:00.")
                .arg(parser.value(At));
    }
    return QString();
}

int CommandLine::report() const
{
    const QByteArray text = m_message.toLocal8Bit();
    std::fputs(text.constData(), m_outcome == Outcome::Error ? stderr : stdout);
    return m_outcome == Outcome::Error ? 2 : 0;
}
