// Starting and stopping a task from the real window: what a press of Run
// counts, what it refuses, and the exact state every control is left in.

#include "tests/editor/EditorTestSupport.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace EditorTest;

namespace {
const QString Reminder = QStringLiteral("Reminder");
const QString IllegalNumber = QStringLiteral("Illegal Number!");
const QString MissingScript = QStringLiteral("The script file does not exist");
constexpr qint64 Max = std::numeric_limits<qint64>::max();

enum class Script { None, Missing, Empty, Folder, File };
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
    void refusedStartChangesNothing_data();
    void refusedStartChangesNothing();
    void stop_data();
    void stop();

private:
    QString scriptPath(Script script) const;
    void setUpCountdown(WindowFixture &f, const QString &number, const QString &unit);

    QTemporaryDir m_dir;
};

void TestTaskController::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QFile file(m_dir.filePath(QStringLiteral("job.scpt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\nexit 0\n");
}

QString TestTaskController::scriptPath(Script script) const
{
    switch (script) {
    case Script::None:
    case Script::Empty:
        return QString();
    case Script::Missing:
        return m_dir.filePath(QStringLiteral("gone.scpt"));
    case Script::Folder:
        return m_dir.path();
    case Script::File:
        return m_dir.filePath(QStringLiteral("job.scpt"));
    }
    return QString();
}

void TestTaskController::setUpCountdown(WindowFixture &f, const QString &number, const QString &unit)
{
    f.control(Tag::NumberField, f.page(0)).setStringValue(number);
    f.control(Tag::UnitComboBox, f.page(0)).setStringValue(unit);
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
    QTest::addColumn<qint64>("dateOffsetMs");
    QTest::addColumn<qint64>("count"); // 0: refused
    QTest::addColumn<QString>("alert");
    QTest::addColumn<QString>("fieldAfter");

    const Script none = Script::None;
    QTest::newRow("fiveMinutes") << 0 << 1 << none << "5"
                                 << "Minutes" << qint64(1) << qint64(0) << qint64(301) << QString() << "5";
    QTest::newRow("oneSecondBelowMinimum") << 0 << 0 << none << "1"
                                           << "Seconds" << qint64(10) << qint64(0) << qint64(11) << QString() << "1";
    QTest::newRow("twoYears") << 0 << 3 << none << "2"
                              << "Years" << qint64(1) << qint64(0) << qint64(62208001) << QString() << "2";
    QTest::newRow("threeMonths") << 0 << 2 << none << "3"
                                 << "Months" << qint64(1) << qint64(0) << qint64(7776001) << QString() << "3";
    QTest::newRow("oneDay") << 0 << 4 << none << "1"
                            << "Days" << qint64(1) << qint64(0) << qint64(86401) << QString() << "1";
    QTest::newRow("twoHours") << 0 << 1 << none << "2"
                              << "Hours" << qint64(1) << qint64(0) << qint64(7201) << QString() << "2";
    QTest::newRow("zero") << 0 << 1 << none << "0"
                          << "Minutes" << qint64(1) << qint64(0) << qint64(0) << IllegalNumber << "0";
    QTest::newRow("negative") << 0 << 1 << none << "-3"
                              << "Minutes" << qint64(1) << qint64(0) << qint64(0) << IllegalNumber << "-3";
    QTest::newRow("empty") << 0 << 1 << none << ""
                           << "Minutes" << qint64(1) << qint64(0) << qint64(0) << IllegalNumber << "";
    QTest::newRow("letters") << 0 << 1 << none << "abc"
                             << "Minutes" << qint64(1) << qint64(0) << qint64(0) << IllegalNumber << "abc";
    QTest::newRow("blankNumberWithTrailingLetter")
        << 0 << 1 << none << " 42x"
        << "Minutes" << qint64(1) << qint64(0) << qint64(2521) << QString() << "42";
    QTest::newRow("leadingZeros") << 0 << 1 << none << "007"
                                  << "Seconds" << qint64(1) << qint64(0) << qint64(8) << QString() << "7";
    QTest::newRow("lowerCaseUnit") << 0 << 1 << none << "5"
                                   << "minutes" << qint64(1) << qint64(0) << qint64(2) << QString() << "5";
    QTest::newRow("unknownUnitRaisedToMinimum")
        << 0 << 1 << none << "5"
        << "Fortnights" << qint64(30) << qint64(0) << qint64(31) << QString() << "5";
    QTest::newRow("overflowYears") << 0 << 1 << none << "300000000000"
                                   << "Years" << qint64(1) << qint64(0) << qint64(0) << IllegalNumber << "300000000000";
    QTest::newRow("twentyDigits") << 0 << 1 << none << "12345678901234567890"
                                  << "Seconds" << qint64(1) << qint64(0) << qint64(0) << IllegalNumber
                                  << "12345678901234567890";
    QTest::newRow("noRoomForLastTick") << 0 << 1 << none << "9223372036854775807"
                                       << "Seconds" << qint64(1) << qint64(0) << qint64(0) << IllegalNumber
                                       << "9223372036854775807";
    QTest::newRow("largestCount") << 0 << 1 << none << "9223372036854775806"
                                  << "Seconds" << qint64(1) << qint64(0) << Max << QString() << "9223372036854775806";
    QTest::newRow("dateAheadWithFraction")
        << 1 << 1 << none << "abc"
        << "Minutes" << qint64(1) << qint64(90700) << qint64(91) << QString() << "abc";
    QTest::newRow("datePast") << 1 << 1 << none << "5"
                              << "Minutes" << qint64(1) << qint64(-3600000) << qint64(2) << QString() << "5";
    QTest::newRow("datePastRaisedToMinimum")
        << 1 << 1 << none << "5"
        << "Minutes" << qint64(7) << qint64(-3600000) << qint64(8) << QString() << "5";
    QTest::newRow("dateAheadBelowMinimum") << 1 << 1 << none << "5"
                                           << "Minutes" << qint64(30) << qint64(5000) << qint64(31) << QString() << "5";
    // The script is checked first, so a bad number is not even looked at.
    QTest::newRow("missingScriptCountdown")
        << 0 << 5 << Script::Missing << "abc"
        << "Minutes" << qint64(1) << qint64(0) << qint64(0) << MissingScript << "abc";
    QTest::newRow("missingScriptDate") << 1 << 5 << Script::Missing << "5"
                                       << "Minutes" << qint64(1) << qint64(60000) << qint64(0) << MissingScript << "5";
    QTest::newRow("emptyScriptPath") << 0 << 5 << Script::Empty << "5"
                                     << "Minutes" << qint64(1) << qint64(0) << qint64(0) << MissingScript << "5";
    QTest::newRow("scriptFolderPasses") << 0 << 5 << Script::Folder << "5"
                                        << "Minutes" << qint64(1) << qint64(0) << qint64(301) << QString() << "5";
    QTest::newRow("scriptFileOnDatePage") << 1 << 5 << Script::File << "5"
                                          << "Minutes" << qint64(1) << qint64(-1000) << qint64(2) << QString() << "5";
    QTest::newRow("scriptFileBadNumber") << 0 << 5 << Script::File << "abc"
                                         << "Minutes" << qint64(1) << qint64(0) << qint64(0) << IllegalNumber << "abc";
    // A missing script on another row is none of the start's business.
    QTest::newRow("missingScriptOtherRow") << 0 << 4 << Script::Missing << "1"
                                           << "Seconds" << qint64(1) << qint64(0) << qint64(2) << QString() << "1";
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
    f.control(Tag::ScriptPathField).setStringValue(scriptPath(script));
    setUpCountdown(f, number, unit);
    f.delegate->setMinimumCounter(minimum);
    f.delegate->tabview1()->setCurrentIndex(page);
    f.control(Tag::TimeLeftText).setStringValue(QStringLiteral("1 Second"));

    // The diagnostic lines of a start, in the order they are written.
    if (row == 5)
        QTest::ignoreMessage(QtInfoMsg, QFileInfo::exists(scriptPath(script)) ? "----------1" : "----------0");
    if (page == 0 && alert != MissingScript)
        QTest::ignoreMessage(QtInfoMsg, number.toUtf8().constData());

    f.delegate->setTimeInfo(
        QDateTime::currentDateTime().addMSecs(dateOffsetMs), f.control(Tag::DatePickerA, f.page(1)));
    pressRun(f);

    QCOMPARE(f.delegate->counterTimer(), count);
    QCOMPARE(f.runTitle(), count ? QStringLiteral("Stop") : QStringLiteral("Run"));
    QCOMPARE(f.control(Tag::NumberField, f.page(0)).stringValue(), fieldAfter);
    // Cleared before any check, refused or not.
    QCOMPARE(f.control(Tag::TimeLeftText).stringValue(), QString());
    QCOMPARE(f.control(Tag::TimeLeftText).isHidden(), count == 0);
    if (alert.isEmpty())
        QVERIFY(f.alerts->alerts.isEmpty());
    else
        QCOMPARE(f.alerts->alerts, (QList<QPair<QString, QString>> {{Reminder, alert}}));
    QVERIFY(f.actions->calls.isEmpty());
}

// Which schedule is used follows the label "Timer", not the page's place.
void TestTaskController::pageChosenByLabel_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("renamed");
    QTest::addColumn<QString>("label");
    QTest::addColumn<qint64>("count");

    QTest::newRow("countdownPageRenamed") << 0 << 0 << "Countdown" << qint64(2);
    QTest::newRow("datePageCalledTimer") << 1 << 1 << "Timer" << qint64(301);
}

void TestTaskController::pageChosenByLabel()
{
    QFETCH(int, page);
    QFETCH(int, renamed);
    QFETCH(QString, label);
    QFETCH(qint64, count);

    WindowFixture f;
    setUpCountdown(f, QStringLiteral("5"), QStringLiteral("Minutes"));
    f.delegate->setTimeInfo(QDateTime::currentDateTime().addSecs(-60), f.control(Tag::DatePickerA, f.page(1)));
    f.delegate->tabview1()->setTabText(renamed, label);
    f.delegate->tabview1()->setCurrentIndex(page);

    pressRun(f);

    QCOMPARE(f.delegate->counterTimer(), count);
}

namespace {
// The window as a test finds it after picking an action row: the script
// controls follow the row, everything else as after launch.
QStringList idleState(bool scriptShown)
{
    const QString script = scriptShown ? QStringLiteral("shown") : QStringLiteral("hidden");
    return {
        QStringLiteral("31002 enabled shown"),
        QStringLiteral("31031 enabled shown \"Run\""),
        QStringLiteral("31033 enabled ") + script,
        QStringLiteral("31034 enabled ") + script,
        QStringLiteral("31035 enabled hidden"),
        QStringLiteral("32400 enabled shown"),
        QStringLiteral("35002 enabled %1 editable selectable").arg(script),
        QStringLiteral("36001 enabled hidden"),
        QStringLiteral("36002 enabled hidden"),
        QStringLiteral("36005 enabled ") + script,
        QStringLiteral("36000 enabled shown"),
        QStringLiteral("35000 enabled shown editable selectable"),
        QStringLiteral("40100 enabled shown"),
        QStringLiteral("31032 enabled shown"),
        QStringLiteral("32600 enabled shown"),
        QStringLiteral("35001 enabled shown"),
        QStringLiteral("40200 enabled shown"),
        QStringLiteral("40201 enabled shown"),
        QStringLiteral("40202 enabled shown"),
    };
}

// Locked: only Run, help, the dim-after-script box and the texts that
// nobody edits stay enabled; the script controls keep their visibility.
QStringList runningState(bool scriptShown)
{
    const QString script = scriptShown ? QStringLiteral("shown") : QStringLiteral("hidden");
    return {
        QStringLiteral("31002 enabled shown"),
        QStringLiteral("31031 enabled shown \"Stop\""),
        QStringLiteral("31033 disabled ") + script,
        QStringLiteral("31034 enabled ") + script,
        QStringLiteral("31035 enabled hidden"),
        QStringLiteral("32400 disabled shown"),
        QStringLiteral("35002 disabled %1 editable selectable").arg(script),
        QStringLiteral("36001 enabled shown"),
        QStringLiteral("36002 enabled shown"),
        QStringLiteral("36005 enabled ") + script,
        QStringLiteral("36000 disabled shown"),
        QStringLiteral("35000 disabled shown readonly unselectable"),
        QStringLiteral("40100 disabled shown"),
        QStringLiteral("31032 disabled shown"),
        QStringLiteral("32600 disabled shown"),
        QStringLiteral("35001 enabled shown"),
        QStringLiteral("40200 disabled shown"),
        QStringLiteral("40201 disabled shown"),
        QStringLiteral("40202 disabled shown"),
    };
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
// the script controls to the action matrix.
void TestTaskController::controlStates()
{
    QFETCH(int, row);
    QFETCH(int, page);
    const bool scriptShown = row == 5;

    WindowFixture f;
    pickRow(f, row);
    f.control(Tag::ScriptPathField).setStringValue(m_dir.path());
    f.delegate->tabview1()->setCurrentIndex(page);
    QCOMPARE(snapshot(f), idleState(scriptShown));

    pressRun(f);
    QCOMPARE(snapshot(f), runningState(scriptShown));
    QCOMPARE(f.control(Tag::TimeLeftText).stringValue(), QString());
    QVERIFY(f.delegate->counterTimer() > 0);

    pressRun(f);
    QCOMPARE(snapshot(f), idleState(scriptShown));
    QCOMPARE(f.delegate->counterTimer(), 0);

    // A second round behaves like the first.
    pressRun(f);
    QCOMPARE(snapshot(f), runningState(scriptShown));
}

void TestTaskController::refusedStartChangesNothing_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("disableSome");

    QTest::newRow("illegalNumber") << 1 << "abc" << false;
    QTest::newRow("missingScript") << 5 << "5" << false;
    QTest::newRow("overflow") << 1 << "99999999999999" << false;
    // Whatever a refused start finds, it leaves as it was, even controls
    // that were not in their usual state.
    QTest::newRow("unusualStateKept") << 1 << "0" << true;
}

void TestTaskController::refusedStartChangesNothing()
{
    QFETCH(int, row);
    QFETCH(QString, number);
    QFETCH(bool, disableSome);

    WindowFixture f;
    pickRow(f, row);
    f.control(Tag::ScriptPathField).setStringValue(m_dir.filePath(QStringLiteral("gone.scpt")));
    setUpCountdown(f, number, QStringLiteral("Years"));
    if (disableSome) {
        f.control(Tag::NowButton, f.page(1)).setEnabled(false);
        f.control(Tag::UnitComboBox, f.page(0)).setEnabled(false);
    }
    const QStringList before = snapshot(f);

    pressRun(f);

    QCOMPARE(f.alerts->alerts.size(), 1);
    QCOMPARE(snapshot(f), before);
    QCOMPARE(f.delegate->counterTimer(), 0);
    QCOMPARE(f.control(Tag::NumberField, f.page(0)).stringValue(), number);
}

void TestTaskController::stop_data()
{
    QTest::addColumn<QString>("title");

    QTest::newRow("stopTitle") << "Stop";
    // Any title but "Run" counts as running, so a press always stops.
    QTest::newRow("otherTitle") << "Pause";
}

void TestTaskController::stop()
{
    QFETCH(QString, title);

    WindowFixture f;
    pickRow(f, 1);
    setUpCountdown(f, QStringLiteral("5"), QStringLiteral("Minutes"));
    pressRun(f);
    QCOMPARE(f.delegate->counterTimer(), 301);
    f.control(Tag::RunButton).setTitle(title);
    // As a tick would have left it.
    f.delegate->setCounterTimer(120);
    f.control(Tag::TimeLeftText).setStringValue(QStringLiteral("2 Minutes "));

    pressRun(f);

    QCOMPARE(f.delegate->counterTimer(), 0);
    QCOMPARE(snapshot(f), idleState(false));
    QVERIFY(f.actions->calls.isEmpty());
    QVERIFY(f.alerts->alerts.isEmpty());
    // Hidden, but kept until the next start clears it.
    QCOMPARE(f.control(Tag::TimeLeftText).stringValue(), QStringLiteral("2 Minutes "));

    pressRun(f);
    QCOMPARE(f.control(Tag::TimeLeftText).stringValue(), QString());
    QCOMPARE(f.delegate->counterTimer(), 301);
}

QTEST_MAIN(TestTaskController)
#include "tst_taskcontroller.moc"
