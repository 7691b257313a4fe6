// Starting and stopping a task from the real window: what a press of Run
// counts, what it refuses, and the exact state every control is left in.

#include "tests/editor/EditorTestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace EditorTest;

namespace {
const QString IllegalNumber = QStringLiteral("Illegal Number!");
const QString MissingScript = QStringLiteral("The script file does not exist");

enum class Script { None, Missing, Empty, Folder };
} // namespace
Q_DECLARE_METATYPE(Script)

class TestTaskController : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void windowAsLoadedStarts();
    void start_data();
    void start();
    void pageChosenByLabel_data();
    void pageChosenByLabel();
    void controlStates_data();
    void controlStates();

private:
    QTemporaryDir m_dir;
};

void TestTaskController::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

// Nothing picked by the user: the window as loaded shuts down in five
// minutes.
void TestTaskController::windowAsLoadedStarts()
{
    WindowFixture f;
    QCOMPARE(matrix(f)->selectedRow(), 1);
    pressRun(f);
    QCOMPARE(f.delegate->counterTimer(), 301);
    QCOMPARE(f.runTitle(), QStringLiteral("Stop"));
    QVERIFY(f.alerts->alerts.isEmpty());
}

void TestTaskController::start_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("row");
    QTest::addColumn<Script>("script");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<qint64>("minimum");
    QTest::addColumn<qint64>("dateOffsetMs"); // picker A against now
    QTest::addColumn<qint64>("count"); // 0: refused
    QTest::addColumn<QString>("alert");
    QTest::addColumn<QString>("fieldAfter"); // null: as typed

    const auto row
        = [](const char *name, int page, int row, Script script, const char *number, const char *unit, qint64 minimum,
              qint64 offsetMs, qint64 count, const QString &alert = QString(), const char *fieldAfter = nullptr) {
              QTest::newRow(name) << page << row << script << QString::fromLatin1(number) << QString::fromLatin1(unit)
                                  << minimum << offsetMs << count << alert
                                  << QString::fromLatin1(fieldAfter ? fieldAfter : number);
          };
    const Script none = Script::None;
    const char *const max = "9223372036854775807";

    row("fiveMinutes", 0, 1, none, "5", "Minutes", 1, 0, 301);
    row("oneSecondBelowMinimum", 0, 0, none, "1", "Seconds", 10, 0, 11);
    row("zero", 0, 1, none, "0", "Minutes", 1, 0, 0, IllegalNumber);
    row("negative", 0, 1, none, "-3", "Minutes", 1, 0, 0, IllegalNumber);
    row("empty", 0, 1, none, "", "Minutes", 1, 0, 0, IllegalNumber);
    row("letters", 0, 1, none, "abc", "Minutes", 1, 0, 0, IllegalNumber);
    row("blankNumberWithTrailingLetter", 0, 1, none, " 42x", "Minutes", 1, 0, 2521, {}, "42");
    row("lowerCaseUnit", 0, 1, none, "5", "minutes", 1, 0, 2);
    row("unknownUnitRaisedToMinimum", 0, 1, none, "5", "Fortnights", 30, 0, 31);
    row("overflowYears", 0, 1, none, "300000000000", "Years", 1, 0, 0, IllegalNumber);
    row("twentyDigits", 0, 1, none, "12345678901234567890", "Seconds", 1, 0, 0, IllegalNumber);
    row("noRoomForLastTick", 0, 1, none, max, "Seconds", 1, 0, 0, IllegalNumber);
    // The number field plays no part on the date page.
    row("dateAheadWithFraction", 1, 1, none, "abc", "Minutes", 1, 90700, 91);
    row("datePast", 1, 1, none, "5", "Minutes", 1, -3600000, 2);
    // The script is checked first, so a bad number is not even looked at.
    row("missingScriptCountdown", 0, 5, Script::Missing, "abc", "Minutes", 1, 0, 0, MissingScript);
    row("missingScriptDate", 1, 5, Script::Missing, "5", "Minutes", 1, 60000, 0, MissingScript);
    row("emptyScriptPath", 0, 5, Script::Empty, "5", "Minutes", 1, 0, 0, MissingScript);
    row("scriptFolderPasses", 0, 5, Script::Folder, "5", "Minutes", 1, 0, 301);
    row("scriptFolderBadNumber", 0, 5, Script::Folder, "abc", "Minutes", 1, 0, 0, IllegalNumber);
    // A missing script on another row is none of the start's business.
    row("missingScriptOtherRow", 0, 4, Script::Missing, "1", "Seconds", 1, 0, 2);
}

void TestTaskController::start()
{
    QFETCH(int, page);
    QFETCH(int, row);
    QFETCH(Script, script);
    QFETCH(QString, number);
    QFETCH(QString, unit);
    QFETCH(qint64, minimum);
    QFETCH(qint64, dateOffsetMs);
    QFETCH(qint64, count);
    QFETCH(QString, alert);
    QFETCH(QString, fieldAfter);

    WindowFixture f;
    pickRow(f, row);
    const QString path = script == Script::Missing ? m_dir.filePath(QStringLiteral("gone.scpt"))
        : script == Script::Folder                 ? m_dir.path()
                                                   : QString();
    f.control(Tag::ScriptPathField).setStringValue(path);
    setUpCountdown(f, number, unit);
    f.delegate->setMinimumCounter(minimum);
    f.delegate->tabview1()->setCurrentIndex(page);
    f.control(Tag::TimeLeftText).setStringValue(QStringLiteral("1 Second"));
    f.delegate->setTimeInfo(
        QDateTime::currentDateTime().addMSecs(dateOffsetMs), f.control(Tag::DatePickerA, f.page(1)));
    // A refused start leaves every control as it found it, even one that is
    // not in its usual state.
    if (count == 0)
        f.control(Tag::NowButton, f.page(1)).setEnabled(false);
    const QStringList before = snapshot(f);

    // The diagnostic lines of a start, in the order they are written.
    if (row == 5)
        QTest::ignoreMessage(QtInfoMsg, QFileInfo::exists(path) ? "----------1" : "----------0");
    if (page == 0 && alert != MissingScript)
        QTest::ignoreMessage(QtInfoMsg, number.toUtf8().constData());

    pressRun(f);

    QCOMPARE(f.delegate->counterTimer(), count);
    QCOMPARE(f.runTitle(), count ? QStringLiteral("Stop") : QStringLiteral("Run"));
    if (count == 0)
        QCOMPARE(snapshot(f), before);
    QCOMPARE(f.control(Tag::NumberField, f.page(0)).stringValue(), fieldAfter);
    // Cleared before any check, refused or not.
    QCOMPARE(f.control(Tag::TimeLeftText).stringValue(), QString());
    if (alert.isEmpty())
        QVERIFY(f.alerts->alerts.isEmpty());
    else
        QCOMPARE(f.alerts->alerts, (QList<QPair<QString, QString>> {{QStringLiteral("Reminder"), alert}}));
    QVERIFY(f.actions->calls.isEmpty());
}

// Which schedule is used follows the label "Timer", not the page's place.
void TestTaskController::pageChosenByLabel_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("label");
    QTest::addColumn<qint64>("count");

    QTest::newRow("countdownPageRenamed") << 0 << "Countdown" << qint64(2);
    QTest::newRow("datePageCalledTimer") << 1 << "Timer" << qint64(301);
}

void TestTaskController::pageChosenByLabel()
{
    QFETCH(int, page);
    QFETCH(QString, label);
    QFETCH(qint64, count);

    WindowFixture f;
    setUpCountdown(f, QStringLiteral("5"), QStringLiteral("Minutes"));
    f.delegate->setTimeInfo(QDateTime::currentDateTime().addSecs(-60), f.control(Tag::DatePickerA, f.page(1)));
    f.delegate->tabview1()->setTabText(page, label);
    f.delegate->tabview1()->setCurrentIndex(page);
    pressRun(f);
    QCOMPARE(f.delegate->counterTimer(), count);
}

namespace {
// Each control idle (after picking an action row) and running; "script"
// stands for the script controls' visibility, which follows the row. Locked,
// only Run, help, the dim-after-script box and texts nobody edits stay
// enabled.
QStringList expectedState(bool running, bool scriptShown)
{
    static const std::pair<const char *, const char *> states[] = {
        {"31002 enabled shown", "31002 enabled shown"},
        {"31031 enabled shown \"Run\"", "31031 enabled shown \"Stop\""},
        {"31033 enabled script", "31033 disabled script"},
        {"31034 enabled script", "31034 enabled script"},
        {"31035 enabled hidden", "31035 enabled hidden"},
        {"32400 enabled shown", "32400 disabled shown"},
        {"35002 enabled script editable selectable", "35002 disabled script editable selectable"},
        {"36001 enabled hidden", "36001 enabled shown"},
        {"36002 enabled hidden", "36002 enabled shown"},
        {"36005 enabled script", "36005 enabled script"},
        {"36000 enabled shown", "36000 disabled shown"},
        {"35000 enabled shown editable selectable", "35000 disabled shown readonly unselectable"},
        {"40100 enabled shown", "40100 disabled shown"},
        {"31032 enabled shown", "31032 disabled shown"},
        {"32600 enabled shown", "32600 disabled shown"},
        {"35001 enabled shown", "35001 enabled shown"},
        {"40200 enabled shown", "40200 disabled shown"},
        {"40201 enabled shown", "40201 disabled shown"},
        {"40202 enabled shown", "40202 disabled shown"},
    };
    QStringList lines;
    for (const auto &[idle, locked] : states)
        lines << QString::fromLatin1(running ? locked : idle)
                     .replace(QLatin1String("script"), scriptShown ? QLatin1String("shown") : QLatin1String("hidden"));
    return lines;
}
} // namespace

void TestTaskController::controlStates_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("page");

    QTest::newRow("scriptRowCountdown") << 5 << 0;
    QTest::newRow("scriptRowDate") << 5 << 1;
    QTest::newRow("sleepRowCountdown") << 3 << 0;
    QTest::newRow("restartRowDate") << 0 << 1;
}

// Both sequences lock and unlock both pages, whichever is shown, and leave
// the script controls to the action matrix; a second round is like the first.
void TestTaskController::controlStates()
{
    QFETCH(int, row);
    QFETCH(int, page);
    const bool scriptShown = row == 5;

    WindowFixture f;
    pickRow(f, row);
    f.control(Tag::ScriptPathField).setStringValue(m_dir.path());
    f.delegate->tabview1()->setCurrentIndex(page);
    QCOMPARE(snapshot(f), expectedState(false, scriptShown));

    for (int round = 0; round < 2; ++round) {
        pressRun(f);
        QCOMPARE(snapshot(f), expectedState(true, scriptShown));
        QVERIFY(f.delegate->counterTimer() > 0);
        // As a tick would have left it; any title but "Run" counts as
        // running, so a press always stops.
        f.control(Tag::TimeLeftText).setStringValue(QStringLiteral("2 Minutes "));
        if (round == 1)
            f.control(Tag::RunButton).setTitle(QStringLiteral("Pause"));
        pressRun(f);
        QCOMPARE(snapshot(f), expectedState(false, scriptShown));
        QCOMPARE(f.delegate->counterTimer(), 0);
        // Hidden, but kept until the next start clears it.
        QCOMPARE(f.control(Tag::TimeLeftText).stringValue(), QStringLiteral("2 Minutes "));
    }
    QVERIFY(f.actions->calls.isEmpty());
    QVERIFY(f.alerts->alerts.isEmpty());
}

QTEST_MAIN(TestTaskController)
#include "tst_taskcontroller.moc"
