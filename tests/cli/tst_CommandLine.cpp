// Morvane's command line: reading it, with the countdown page's fields and
// the clock text for a length, and starting the morvane binary without a
// display while this test's own Launcher (with recorders) is the Morvane
// already running: --help and bad arguments answer at once; any other start
// hands its command line over, and the running one fills in its window and
// presses Run, or leaves its running task alone.

#include "app/CommandLine.h"
#include "app/Launcher.h"
#include "controls/Tags.h"
#include "schedule/Duration.h"
#include "tests/support/RecordingAlertPresenter.h"
#include "tests/support/RecordingSystemActions.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
// Noon: "18:00" is later today, "9:30:15" tomorrow.
const QDateTime Now(QDate(2026, 3, 1), QTime(12, 0));

// The first line of the help, the version or what is wrong; or the task:
// its row, then the countdown page's fields and the clock text, or the
// moment, then the script.
QString outcome(const CommandLine &line)
{
    const TaskRequest &task = line.request();
    if (line.outcome() != CommandLine::Outcome::Start)
        return line.message().section('\n', 0, 0);
    if (task.postpone)
        return "postpone " + Duration::clockText(*task.postpone);
    const qint64 seconds = task.countdown.value_or(0);
    const Duration::CountdownFields fields = Duration::countdownFields(seconds);
    const QString length = QString("%1 %2 %3").arg(fields.number).arg(fields.unit, Duration::clockText(seconds));
    const QString when = task.moment ? task.moment->toString(Qt::ISODate) : seconds ? length : QString();
    return QStringList {QString::number(int(task.action)), when, task.script}.join(' ').trimmed();
}
} // namespace

class tst_CommandLine : public QObject
{
    Q_OBJECT

    QTemporaryDir m_runtime;

private slots:
    void initTestCase()
    {
        // The running Morvane's socket is looked for here, not in the user's.
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toUtf8());
        qputenv("XDG_SESSION_ID", "tst_CommandLine");
        // The morvane started here runs on X11 without a display, where a
        // window, or a QApplication, would abort; this test's own is offscreen.
        qunsetenv("DISPLAY");
        qputenv("QT_QPA_PLATFORM", "xcb");
    }

    void reads_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, QString in, QString out) { QTest::newRow(name) << in << out; };
        row("help wins", "--version -h", "Usage: morvane [options]");
        row("version", "--version", "morvane 1.0.0");
        // The largest unit that holds the length exactly.
        row("minutes", "--action shutdown --in 90m", "1 90 Minutes 1:30:00");
        row("hours, Qt's own options", "-style fusion -reverse --action sleep --in 2h", "3 2 Hours 2:00:00");
        row("days", "--action restart --in 48h", "0 2 Days 2 d 0:00:00");
        row("script, units combined", "--script /x --action script --in 1d2h3m5s", "5 93785 Seconds 1 d 2:03:05 /x");
        row("a time later today", "--action sleep --at 18:00", "3 2026-03-01T18:00:00");
        row("a time passed today", "--action display-off --at 9:30:15", "4 2026-03-02T09:30:15");
        row("a date", "--action logout --at 2026-12-24T18:00", "2 2026-12-24T18:00:00");
        row("unknown action", "--action reboot --in 5m", "morvane: Unknown action 'reboot'");
        row("no unit", "--action sleep --in 90", "morvane: '90' is not a duration");
        row("beyond 64 bits", "--action sleep --in 213503982334602d", "morvane: '213503982334602d' is not");
        row("no such day", "--action sleep --at 2026-02-30T10:00", "morvane: '2026-02-30T10:00' is not a time");
        row("both times", "--action sleep --in 5m --at 18:00", "morvane: --action needs a time: either --in or --at.");
        row("no action", "--in 5m", "morvane: --in, --at and --script need --action.");
        row("file without script", "--action sleep --script /x --in 5m", "morvane: --action script and --script PATH");
        row("postpone", "--postpone 1h10m", "postpone 1:10:00");
        row("postpone and a task", "--action sleep --in 5m --postpone 10m", "morvane: --postpone goes alone");
        row("postpone without unit", "--postpone 10", "morvane: '10' is not a duration");
    }

    void reads()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, expected);
        const QString seen
            = outcome(CommandLine::parse(QStringList {"morvane"} + arguments.split(' ', Qt::SkipEmptyParts), Now));
        // What is wrong goes on to say what to write instead.
        QVERIFY2(expected.startsWith("morvane: ") ? seen.startsWith(expected) : seen == expected, qPrintable(seen));
    }

    void startsOrHandsOver_data()
    {
        QTest::addColumn<QString>("running");
        QTest::addColumn<QString>("later");
        // The start of what it prints, nothing for an empty text; it exits
        // with 2 after "morvane: ", else with 0.
        QTest::addColumn<QString>("printed");
        // The window afterwards.
        QTest::addColumn<QString>("window");

        const auto row = [](const char *name, const QString &running, const QString &later, const QString &printed,
                             const QString &window) { QTest::newRow(name) << running << later << printed << window; };
        const QString idle = "Run | Morvane";
        const QDateTime at = QDateTime::currentDateTime().addDays(2);
        row("help", {}, "--help", "Usage: morvane [options]\n", idle);
        row("bad argument", {}, "--action reboot --in 5m", "morvane: Unknown action 'reboot'", idle);
        row("countdown", {}, "--action script --script " MORVANE_BINARY " --in 2h30m", {},
            "Stop | 2:30:00 – Run Script – Morvane");
        row("date", {}, "--action sleep --at " + at.toString("yyyy-MM-ddTHH:mm:ss"), {},
            "Stop | " + at.toString("yyyy-MM-dd HH:mm:ss") + " Sleep – Morvane");
        row("nothing asked", {}, {}, {}, idle);
        row("refused", {}, "--action script --script /nonexistent --in 1m", {},
            "Run | Morvane | Reminder: The script file does not exist");
        row("a task runs", "--action logout --in 10m", "--action shutdown --in 1m",
            "Morvane is already counting down (10:00 – Log Out – Morvane); that task goes on",
            "Stop | 10:00 – Log Out – Morvane");
        // The editor stays locked: a postpone is not an edit.
        row("postpone", "--action logout --in 10m", "--postpone 5m", "Postponed: Log Out at ",
            "Stop | 15:00 – Log Out – Morvane");
        row("nothing to postpone", {}, "--postpone 5m", "No task is counting down; there is nothing to postpone.",
            idle);
    }

    void startsOrHandsOver()
    {
        QFETCH(QString, running);
        QFETCH(QString, later);
        QFETCH(QString, printed);
        QFETCH(QString, window);

        auto alerts = std::make_unique<RecordingAlertPresenter>();
        const RecordingAlertPresenter &shown = *alerts;
        Launcher morvane(std::make_unique<RecordingSystemActions>(), std::move(alerts), nullptr, nullptr);
        AppDelegate &delegate = morvane.delegate();
        morvane.launch(CommandLine::parse(QStringList {"morvane"} + running.split(' ', Qt::SkipEmptyParts)).request());
        delegate.findChild<QTimer *>(QString(), Qt::FindDirectChildrenOnly)->stop();

        QProcess second;
        second.setProcessChannelMode(QProcess::MergedChannels);
        second.start(MORVANE_BINARY, later.split(' ', Qt::SkipEmptyParts));
        // This test's event loop answers the second start meanwhile.
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 10000);
        const QString output = QString::fromLocal8Bit(second.readAll());
        QCOMPARE(second.exitCode(), printed.startsWith("morvane: ") ? 2 : 0);
        QVERIFY2(printed.isEmpty() ? output.isEmpty() : output.startsWith(printed), qPrintable(output));

        // The task it asked for starts from the event loop.
        QTest::qWait(50);
        // The Run button, the title (on the date page the date instead of the
        // time left, which depends on the time of day), the alerts.
        const QString title = morvane.window().windowTitle();
        const QDateTime date
            = delegate.getGUIObject(Tag::DatePickerA, delegate.tabview1()->currentWidget()).dateValue();
        const QString schedule
            = date.isValid() ? date.toString("yyyy-MM-dd HH:mm:ss ") + title.section(" – ", 1) : title;
        const QString run = delegate.getGUIObject(Tag::RunButton, nullptr).title();
        QStringList seen {run, schedule};
        for (const auto &[title, message] : shown.alerts)
            seen << title + ": " + message;
        // The title shows the time left rounded up; a second start that
        // took over a second leaves a second less.
        QCOMPARE(seen.join(" | ").replace("Stop | 14:59 –", "Stop | 15:00 –"), window);
    }
};

QTEST_MAIN(tst_CommandLine)
#include "tst_CommandLine.moc"
