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

#include <QDir>
#include <QFile>
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

// A command line as typed after "morvane".
QStringList typed(const QString &arguments)
{
    return QStringList {"morvane"} + arguments.split(' ', Qt::SkipEmptyParts);
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
        const auto row
            = [](const char *name, const QString &in, const QString &out) { QTest::newRow(name) << in << out; };
        row("help wins", "--version -h", "Usage: morvane [options]");
        // The largest unit that holds the length exactly.
        row("minutes", "--action shutdown --in 90m", "1 90 Minutes 1:30:00");
        row("hours, Qt's own options", "-style fusion -reverse --action sleep --in 2h", "3 2 Hours 2:00:00");
        row("days", "--action restart --in 48h", "0 2 Days 2 d 0:00:00");
        row("script, units combined", "--script /bin/sh --action script --in 1d2h3m5s",
            "5 93785 Seconds 1 d 2:03:05 /bin/sh");
        row("a time passed today", "--action display-off --at 9:30:15", "4 2026-03-02T09:30:15");
        row("unknown action", "--action reboot --in 5m", "morvane: Unknown action 'reboot'");
        row("both times", "--action sleep --in 5m --at 18:00", "morvane: --action needs a time: either --in or --at.");
        row("file without script", "--action sleep --script /x --in 5m", "morvane: --action script and --script PATH");
        // The window's start checks, with the window's own sentences.
        row("count past 64 bits", "--action sleep --in 9223372036854775807s", "morvane: Illegal Number!");
        row("now", "--action sleep --at 2026-03-01T12:00", "morvane: The date has passed.");
        row("a time skipped", "--action sleep --at 2026-03-29T02:30", "morvane: That time does not exist here");
        row("no script file", "--action script --script /nonexistent --in 5m",
            "morvane: The script file does not exist");
        row("postpone", "--postpone 1h10m", "postpone 1:10:00");
        row("postpone and a task", "--action sleep --in 5m --postpone 10m", "morvane: --postpone goes alone");
        row("postpone without unit", "--postpone 10", "morvane: '10' is not a duration");
    }

    void reads()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, expected);
        const QString seen = outcome(CommandLine::parse(typed(arguments), Now));
        // What is wrong goes on to say what to write instead.
        QVERIFY2(expected.startsWith("morvane: ") ? seen.startsWith(expected) : seen == expected, qPrintable(seen));
    }

    void pathsMeanTheirFolder_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("expected");
        const auto row
            = [](const char *name, const QString &in, const QString &out) { QTest::newRow(name) << in << out; };
        row("value apart", "--action script --script job.sh", "--action script --script /home/b/job.sh");
        row("one dash", "-script job.sh --in 5m", "-script /home/b/job.sh --in 5m");
        // Left for the system to resolve, as it would have from that folder.
        row("with =", "--script=./x/job.sh", "--script=/home/b/./x/job.sh");
        row("after --", "-- --script job.sh", "-- --script job.sh");
    }

    void pathsMeanTheirFolder()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, expected);
        QCOMPARE(CommandLine::withAbsolutePaths(typed(arguments), "/home/b").mid(1).join(' '), expected);
    }

    // Only a start of another version sends a relative script path; the
    // running Morvane refuses it even where its own folder holds that file.
    void refusesRelativeScript()
    {
        QTemporaryDir folder;
        QFile script(folder.filePath("job.sh"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        QDir::setCurrent(folder.path());
        Launcher morvane(
            std::make_unique<RecordingSystemActions>(), std::make_unique<RecordingAlertPresenter>(), nullptr, nullptr);
        morvane.launch();
        const SingleInstance::Reply reply = morvane.takeOver(typed("--action script --script job.sh --in 5m"));
        QTest::qWait(50);
        QDir::setCurrent(QCoreApplication::applicationDirPath());
        QCOMPARE(reply.status, 2);
        QVERIFY2(reply.text.startsWith("morvane: The script path 'job.sh' is not absolute"), qPrintable(reply.text));
        QVERIFY(!morvane.delegate().isTaskRunning());
    }

    void startsOrHandsOver_data()
    {
        QTest::addColumn<QString>("running");
        QTest::addColumn<QString>("later");
        // The start of what it prints, nothing for an empty text, and its
        // exit status.
        QTest::addColumn<QString>("printed");
        QTest::addColumn<int>("status");
        // The window afterwards, with the script field when it is filled.
        QTest::addColumn<QString>("window");
        const auto row
            = [](const char *name, const QString &running, const QString &later, const QString &printed, int status,
                  const QString &window) { QTest::newRow(name) << running << later << printed << status << window; };
        const QString idle = "Run | Morvane";
        row("help", {}, "--help", "Usage: morvane [options]\n", 0, idle);
        // Started in the test's own folder, where the file is; this process
        // works in another.
        row("a script named from its folder", {}, "--action script --script job.sh --in 1h", {}, 0,
            "Stop | 1:00:00 – Run Script – Morvane | " + QDir::current().filePath("job.sh"));
        row("nothing asked", {}, {}, {}, 0, idle);
        // Refused before the window would see it, in the window's words.
        row("overflows", {}, "--action sleep --in 9223372036854775807s", "morvane: Illegal Number!", 2, idle);
        row("a task runs", "--action logout --in 10m", "--action shutdown --in 1m",
            "Morvane is already counting down (10:00 – Log Out – Morvane); that task goes on", 1,
            "Stop | 10:00 – Log Out – Morvane");
        // The editor stays locked: a postpone is not an edit.
        row("postpone", "--action logout --in 10m", "--postpone 5m", "Postponed: Log Out at ", 0,
            "Stop | 15:00 – Log Out – Morvane");
        row("nothing to postpone", {}, "--postpone 5m", "No task is counting down; there is nothing to postpone.", 1,
            idle);
    }

    void startsOrHandsOver()
    {
        QFETCH(QString, running);
        QFETCH(QString, later);
        QFETCH(QString, printed);
        QFETCH(int, status);
        QFETCH(QString, window);
        QTemporaryDir elsewhere;
        QFile job("job.sh");
        QVERIFY(job.open(QIODevice::WriteOnly));
        auto alerts = std::make_unique<RecordingAlertPresenter>();
        const RecordingAlertPresenter &shown = *alerts;
        Launcher morvane(std::make_unique<RecordingSystemActions>(), std::move(alerts), nullptr, nullptr);
        AppDelegate &delegate = morvane.delegate();
        morvane.launch(CommandLine::parse(typed(running)).request());
        delegate.findChild<QTimer *>(QString(), Qt::FindDirectChildrenOnly)->stop();

        QProcess second;
        second.setProcessChannelMode(QProcess::MergedChannels);
        second.start(MORVANE_BINARY, typed(later).mid(1));
        QDir::setCurrent(elsewhere.path());
        // This test's event loop answers the second start meanwhile.
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 10000);
        QDir::setCurrent(QCoreApplication::applicationDirPath());
        job.remove();
        const QString output = QString::fromLocal8Bit(second.readAll());
        QCOMPARE(second.exitCode(), status);
        QVERIFY2(printed.isEmpty() ? output.isEmpty() : output.startsWith(printed), qPrintable(output));

        // The task it asked for starts from the event loop.
        QTest::qWait(50);
        QStringList seen {delegate.getGUIObject(Tag::RunButton, nullptr).title(), morvane.window().windowTitle()};
        for (const auto &[title, message] : shown.alerts)
            seen << title + ": " + message;
        const QString script = delegate.getGUIObject(Tag::ScriptPathField, nullptr).stringValue();
        if (!script.isEmpty())
            seen << script;
        // The title shows the time left rounded up; a second start that
        // took over a second leaves a second less.
        QCOMPARE(seen.join(" | ").replace("Stop | 14:59 –", "Stop | 15:00 –"), window);
    }
};

QTEST_MAIN(tst_CommandLine)
#include "tst_CommandLine.moc"
