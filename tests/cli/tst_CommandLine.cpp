// Morvane's command line: reading it, the window's fields and clock text
// for a length, and starting the morvane binary without a display while
// this test's own Launcher (with recorders) is the Morvane already running:
// --help and bad arguments answer at once; any other start hands its
// command line over, and the running one fills in its window and presses
// Run, or leaves its running task alone.

#include "app/CommandLine.h"
#include "app/Launcher.h"
#include "controls/Tags.h"
#include "schedule/Duration.h"
#include "tests/notify/Recorders.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
// Noon: "18:00" is later today, "9:30:15" tomorrow.
const QDateTime Now(QDate(2026, 3, 1), QTime(12, 0));

// The first line of the help, the version or what is wrong; or the task:
// its row, then the countdown or the moment, then the script.
QString outcome(const CommandLine &line)
{
    const TaskRequest &task = line.request();
    if (line.outcome() != CommandLine::Outcome::Start)
        return line.message().section('\n', 0, 0);
    const QString when
        = task.countdown ? QString::number(*task.countdown) : task.moment.value_or(QDateTime()).toString(Qt::ISODate);
    return QStringList {QString::number(int(task.action)), when, task.script}.join(' ').trimmed();
}
} // namespace

class tst_CommandLine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void reads_data();
    void reads();
    void lengths_data();
    void lengths();
    void startsOrHandsOver_data();
    void startsOrHandsOver();

private:
    QTemporaryDir m_runtime;
};

void tst_CommandLine::initTestCase()
{
    // The running Morvane's socket is looked for here, not in the user's.
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toUtf8());
    qputenv("XDG_SESSION_ID", "tst_CommandLine");
    // X11 without a display: a window, or a QApplication, would abort.
    qunsetenv("DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    QFile script(m_runtime.filePath("backup.sh"));
    QVERIFY(script.open(QIODevice::WriteOnly));
}

void tst_CommandLine::reads_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, const char *arguments, const char *expected) {
        QTest::newRow(name) << QString(arguments) << QString(expected);
    };
    row("no task", "", "-1");
    row("help wins", "--version -h", "Usage: morvane [options]");
    row("version", "--version", "morvane 1.0.0");
    row("minutes", "--action shutdown --in 90m", "1 5400");
    row("units combined", "--action restart --in 1d2h30m15s", "0 95415");
    row("a time later today", "--action sleep --at 18:00", "3 2026-03-01T18:00:00");
    row("a time passed today", "--action display-off --at 9:30:15", "4 2026-03-02T09:30:15");
    row("a date", "--action logout --at 2026-12-24T18:00", "2 2026-12-24T18:00:00");
    row("a script", "--script /x.sh --action script --in 45s", "5 45 /x.sh");
    row("Qt's own options", "-style fusion -reverse --action sleep --in 1m", "3 60");
    row("unknown action", "--action reboot --in 5m", "morvane: Unknown action 'reboot'");
    row("no unit", "--action sleep --in 90", "morvane: '90' is not a duration");
    row("zero", "--action sleep --in 0m", "morvane: '0m' is not a duration");
    row("beyond 64 bits", "--action sleep --in 106751991167301d", "morvane: '106751991167301d' is not");
    row("no such day", "--action sleep --at 2026-02-30T10:00", "morvane: '2026-02-30T10:00' is not a time");
    row("both times", "--action sleep --in 5m --at 18:00", "morvane: --action needs a time: either --in or --at.");
    row("no action", "--in 5m", "morvane: --in, --at and --script need --action.");
    row("file without script", "--action sleep --script /x --in 5m", "morvane: --action script and --script PATH");
}

void tst_CommandLine::reads()
{
    QFETCH(QString, arguments);
    QFETCH(QString, expected);

    const CommandLine line
        = CommandLine::parse(QStringList {"morvane"} + arguments.split(' ', Qt::SkipEmptyParts), Now);
    // What is wrong goes on to say what to write instead.
    const bool wrong = expected.startsWith("morvane: ");
    QCOMPARE(line.outcome() == CommandLine::Outcome::Error, wrong);
    QVERIFY2(wrong ? outcome(line).startsWith(expected) : outcome(line) == expected, qPrintable(outcome(line)));
}

void tst_CommandLine::lengths_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QString>("clock");

    QTest::newRow("90m") << qint64(5400) << "90 Minutes"
                         << "1:30:00";
    QTest::newRow("2h30m") << qint64(9000) << "150 Minutes"
                           << "2:30:00";
    QTest::newRow("45s") << qint64(45) << "45 Seconds"
                         << "0:45";
    QTest::newRow("59m59s") << qint64(3599) << "3599 Seconds"
                            << "59:59";
    QTest::newRow("2h") << qint64(7200) << "2 Hours"
                        << "2:00:00";
    QTest::newRow("48h") << qint64(172800) << "2 Days"
                         << "2 d 0:00:00";
    QTest::newRow("1d1s") << qint64(86401) << "86401 Seconds"
                          << "1 d 0:00:01";
    QTest::newRow("2d3h4m59s") << qint64(183899) << "183899 Seconds"
                               << "2 d 3:04:59";
}

void tst_CommandLine::lengths()
{
    QFETCH(qint64, seconds);
    QFETCH(QString, fields);
    QFETCH(QString, clock);

    const Duration::CountdownFields countdown = Duration::countdownFields(seconds);
    QCOMPARE(QString::number(countdown.number) + ' ' + countdown.unit, fields);
    QCOMPARE(Duration::clockText(seconds), clock);
}

void tst_CommandLine::startsOrHandsOver_data()
{
    QTest::addColumn<QString>("running");
    QTest::addColumn<QString>("later");
    QTest::addColumn<int>("status");
    // The start of what it prints; nothing for an empty text.
    QTest::addColumn<QString>("printed");
    // The window afterwards: the Run button, the action row, the countdown or
    // the date, the title; the alerts.
    QTest::addColumn<QString>("window");

    const auto row
        = [](const char *name, const QString &running, const QString &later, int status, const QString &printed,
              const QString &window) { QTest::newRow(name) << running << later << status << printed << window; };
    const QString idle = "Run 1 5 Minutes | Morvane";
    const QDateTime at = QDateTime::currentDateTime().addDays(2);
    row("help", {}, "--help", 0, "Usage: morvane [options]\n", idle);
    row("bad argument", {}, "--action reboot --in 5m", 2,
        "morvane: Unknown action 'reboot': choose shutdown, restart, logout, sleep, display-off or script.\n"
        "Try 'morvane --help' for more information.\n",
        idle);
    row("countdown", {}, "--action restart --in 2h30m", 0, {}, "Stop 0 150 Minutes | 2:30:00 – Restart – Morvane");
    row("date", {}, "--action sleep --at " + at.toString("yyyy-MM-ddTHH:mm:ss"), 0, {},
        "Stop 3 Date " + at.toString("yyyy-MM-dd HH:mm:ss") + " | Sleep – Morvane");
    row("script", {}, "--action script --script SCRIPT --in 45s", 0, {},
        "Stop 5 45 Seconds | 0:45 – Run Script – Morvane");
    row("nothing asked", {}, {}, 0, {}, idle);
    row("the window's check refuses", {}, "--action script --script /nonexistent --in 1m", 0, {},
        "Run 5 1 Minutes | Morvane | Reminder: The script file does not exist");
    row("a task runs", "--action logout --in 10m", "--action shutdown --in 1m", 0,
        "Morvane is already counting down (10:00 – Log Out – Morvane); that task goes on",
        "Stop 2 10 Minutes | 10:00 – Log Out – Morvane");
}

void tst_CommandLine::startsOrHandsOver()
{
    QFETCH(QString, running);
    QFETCH(QString, later);
    QFETCH(int, status);
    QFETCH(QString, printed);
    QFETCH(QString, window);

    auto alerts = std::make_unique<RecordingAlerts>();
    const RecordingAlerts &shown = *alerts;
    Launcher morvane(std::make_unique<RecordingActions>(), std::move(alerts), nullptr, nullptr);
    AppDelegate &delegate = morvane.delegate();
    const CommandLine first = CommandLine::parse(QStringList {"morvane"} + running.split(' ', Qt::SkipEmptyParts));
    morvane.launch(first.request());
    delegate.findChild<QTimer *>(QString(), Qt::FindDirectChildrenOnly)->stop();
    QTRY_COMPARE(delegate.isTaskRunning(), first.request().asksForTask());

    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    second.setProcessEnvironment(environment);
    second.setProcessChannelMode(QProcess::MergedChannels);
    second.start(
        MORVANE_BINARY, later.replace("SCRIPT", m_runtime.filePath("backup.sh")).split(' ', Qt::SkipEmptyParts));
    // This test's event loop answers the second start meanwhile.
    QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 10000);
    const QString output = QString::fromLocal8Bit(second.readAll());
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), status);
    QVERIFY2(printed.isEmpty() ? output.isEmpty() : output.startsWith(printed), qPrintable(output));

    // The task it asked for starts from the event loop.
    QTest::qWait(50);
    const auto control = [&](qint64 tag, int page = -1) {
        return delegate.getGUIObject(tag, page < 0 ? nullptr : delegate.tabview1()->widget(page));
    };
    const bool onTimer = delegate.tabview1()->currentIndex() == 0;
    const QString schedule = onTimer
        ? control(Tag::NumberField, 0).stringValue() + ' ' + control(Tag::UnitComboBox, 0).stringValue()
        : "Date " + control(Tag::DatePickerA, 1).dateValue().toString("yyyy-MM-dd HH:mm:ss");
    // The date's time left depends on the time of day; the rest does not.
    const QString title = morvane.window().windowTitle().section(" – ", onTimer ? 0 : 1);
    const QStringList seen {control(Tag::RunButton).title(), QString::number(control(Tag::ActionMatrix).selectedRow()),
        schedule, "|", title};
    QCOMPARE((QStringList {seen.join(' ')} + shown.alerts).join(" | "), window);
}

QTEST_MAIN(tst_CommandLine)
#include "tst_CommandLine.moc"
