// The one-second tick driven directly: counting down, firing the selected
// action once with the window already idle, the pickers' catch-up, and the
// hold while an alert is open.

#include "controls/RadioMatrix.h"
#include "tests/support/WindowFixture.h"

#include <QAbstractButton>
#include <QDateTimeEdit>
#include <QFile>
#include <QGroupBox>
#include <QLoggingCategory>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

namespace {
constexpr int ShutDownRow = 1;
constexpr int ScriptRow = 5;

// The per-tick lines, recorded by a message handler that passes every other
// message on to QtTest.
QStringList tickLines;
QtMessageHandler previousHandler = nullptr;

void recordTickLines(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg && qstrcmp(context.category, "morvane") == 0)
        tickLines << message;
    else if (previousHandler)
        previousHandler(type, context, message);
}

int tickCount()
{
    return tickLines.count(QStringLiteral("1"));
}

QDateTime toSecond(const QDateTime &date)
{
    return date.addMSecs(-date.time().msec());
}
} // namespace

class tst_CountdownTick : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void countsDownThenFires_data();
    void countsDownThenFires();
    void firesSelectedAction_data();
    void firesSelectedAction();
    void stopAtCountTwoNeverFires();
    void catchUp_data();
    void catchUp();
    void noTickWhileAlertOpen_data();
    void noTickWhileAlertOpen();

private:
    QTimer *tickTimer() const;
    void startCountdown(const QString &number, const QString &unit);
    void tick(int times = 1);
    void selectRow(int row);
    bool windowIsIdle() const;
    void setPicker(qint64 tag, const QDateTime &date);

    std::unique_ptr<WindowFixture> m_fixture;
};

void tst_CountdownTick::initTestCase()
{
    QLoggingCategory::setFilterRules(QStringLiteral("morvane.debug=true"));
}

void tst_CountdownTick::init()
{
    m_fixture = std::make_unique<WindowFixture>();
    // The tests call the tick themselves; the launch timer stays out of
    // their way unless a test starts it again.
    tickTimer()->stop();
    tickLines.clear();
    previousHandler = qInstallMessageHandler(recordTickLines);
}

void tst_CountdownTick::cleanup()
{
    qInstallMessageHandler(previousHandler);
    m_fixture.reset();
}

QTimer *tst_CountdownTick::tickTimer() const
{
    const auto timers = m_fixture->delegate->findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly);
    if (timers.size() != 1)
        qFatal("expected the delegate to own exactly one timer, found %lld", qlonglong(timers.size()));
    return timers.first();
}

void tst_CountdownTick::startCountdown(const QString &number, const QString &unit)
{
    WindowFixture &f = *m_fixture;
    f.window->tabview1()->setCurrentIndex(0);
    f.control(Tag::NumberField, f.page(0)).setStringValue(number);
    f.control(Tag::UnitComboBox, f.page(0)).setStringValue(unit);
    f.control(Tag::RunButton).as<QAbstractButton>()->click();
}

void tst_CountdownTick::selectRow(int row)
{
    m_fixture->control(Tag::ActionMatrix, m_fixture->delegate->aBox1()).as<RadioMatrix>()->setSelectedRow(row);
}

void tst_CountdownTick::tick(int times)
{
    for (int i = 0; i < times; ++i)
        m_fixture->delegate->timerFired();
}

// As after a stop: every control a running task locks is usable again, the
// time left is hidden and no count is left.
bool tst_CountdownTick::windowIsIdle() const
{
    const WindowFixture &f = *m_fixture;
    const Control numberField = f.control(Tag::NumberField, f.page(0));
    bool idle = f.runTitle() == QLatin1String("Run") && f.delegate->counterTimer() == 0 && numberField.isEditable()
        && numberField.isSelectable() && f.control(Tag::TimeLeftCaption).isHidden()
        && f.control(Tag::TimeLeftText).isHidden() && f.control(Tag::ActionMatrix, f.delegate->aBox1()).isEnabled();
    for (qint64 tag : {Tag::ChooseScriptButton, Tag::ScriptPathField})
        idle = idle && f.control(tag).isEnabled();
    for (qint64 tag : {Tag::CountdownCaption, Tag::NumberField, Tag::UnitComboBox})
        idle = idle && f.control(tag, f.page(0)).isEnabled();
    for (qint64 tag : {Tag::DatePickerA, Tag::DatePickerB, Tag::DatePickerC, Tag::NowButton, Tag::MinimumStepper})
        idle = idle && f.control(tag, f.page(1)).isEnabled();
    return idle;
}

void tst_CountdownTick::setPicker(qint64 tag, const QDateTime &date)
{
    Control picker = m_fixture->control(tag, m_fixture->page(1));
    picker.setMinDate(date.addDays(-1));
    picker.setDateValue(date);
}

void tst_CountdownTick::countsDownThenFires_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<qint64>("minimum");
    QTest::addColumn<QStringList>("shown"); // the time left after each tick

    QTest::newRow("countOfSix") << "5"
                                << "Seconds" << qint64(1)
                                << QStringList {"5 Seconds", "4 Seconds", "3 Seconds", "2 Seconds", "1 Second"};
    // A unit outside the list gives a length of 0, and with no minimum the
    // count is 1: the first tick fires, with the text the start cleared.
    QTest::newRow("countOfOne") << "1"
                                << "Fortnights" << qint64(0) << QStringList();
}

void tst_CountdownTick::countsDownThenFires()
{
    QFETCH(QString, number);
    QFETCH(QString, unit);
    QFETCH(qint64, minimum);
    QFETCH(QStringList, shown);

    WindowFixture &f = *m_fixture;
    // The diagnostic lines: "1" for every tick, "3" for an idle one.
    tick();
    QCOMPARE(tickLines, (QStringList {"1", "3"}));
    selectRow(ShutDownRow);
    f.control(Tag::TimeLeftText).setStringValue(QStringLiteral("from the last task"));
    f.delegate->setMinimumCounter(minimum);
    startCountdown(number, unit);
    QCOMPARE(f.delegate->counterTimer(), shown.size() + 1);

    for (const QString &text : std::as_const(shown)) {
        tickLines.clear();
        tick();
        QCOMPARE(tickLines, QStringList {"1"});
        QCOMPARE(f.control(Tag::TimeLeftText).stringValue(), text);
        QVERIFY(f.actions->calls.isEmpty());
    }
    // The firing tick does not write the text again, and goes on as an idle
    // tick.
    tickLines.clear();
    tick();
    QCOMPARE(tickLines, (QStringList {"1", "3"}));
    QCOMPARE(f.actions->calls, QStringList {"event:shut"});
    QCOMPARE(f.control(Tag::TimeLeftText).stringValue(), shown.isEmpty() ? QString() : shown.last());
    QVERIFY(windowIsIdle());

    tick(3);
    QCOMPARE(f.actions->calls.size(), 1);
}

void tst_CountdownTick::firesSelectedAction_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("eventStatus");
    QTest::addColumn<int>("dimStatus");
    QTest::addColumn<bool>("dimAfterScript");
    QTest::addColumn<QString>("scriptFile"); // "file", "folder" or "deleted"
    QTest::addColumn<QStringList>("calls"); // %1 stands for the script path
    QTest::addColumn<QStringList>("alert");
    QTest::addColumn<bool>("catchUpInSameTick");

    const auto row = [](const char *name, int row, int eventStatus, int dimStatus, bool dimAfterScript,
                         const char *scriptFile, const QStringList &calls, const QStringList &alert = {}) {
        // An error alert ends the tick, so the pickers catch up on the next.
        const bool catchUpInSameTick = alert.value(0) != QLatin1String("Error!");
        QTest::newRow(name) << row << eventStatus << dimStatus << dimAfterScript << QString::fromLatin1(scriptFile)
                            << calls << alert << catchUpInSameTick;
    };
    row("restart", 0, 0, 0, false, "", {"event:rest"});
    row("shutDown", 1, 0, 0, false, "", {"event:shut"});
    row("logOut", 2, 0, 0, false, "", {"event:rlgo"});
    row("sleep", 3, 0, 0, false, "", {"event:slep"});
    row("displaySleep", 4, 0, 0, false, "", {"dim"});
    row("noSelection", -1, 0, 0, false, "", {});
    row("restartDenied", 0, -13, 0, false, "", {"event:rest"}, {"Error!", "-13"});
    row("displaySleepUnsupported", 4, 0, 1, false, "", {"dim"}, {"Error!", "1"});
    row("script", ScriptRow, 0, 0, false, "file", {"script:%1"});
    row("scriptThenDim", ScriptRow, 0, 0, true, "file", {"script:%1", "dim"});
    row("scriptDimFailureDropped", ScriptRow, 0, 1, true, "file", {"script:%1", "dim"});
    row("scriptFolder", ScriptRow, 0, 0, false, "folder", {"script:%1"});
    row("scriptDeleted", ScriptRow, 0, 0, true, "deleted", {}, {"Reminder", "The script file does not exist"});
}

void tst_CountdownTick::firesSelectedAction()
{
    QFETCH(int, row);
    QFETCH(int, eventStatus);
    QFETCH(int, dimStatus);
    QFETCH(bool, dimAfterScript);
    QFETCH(QString, scriptFile);
    QFETCH(QStringList, calls);
    QFETCH(QStringList, alert);
    QFETCH(bool, catchUpInSameTick);

    WindowFixture &f = *m_fixture;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString scriptPath = scriptFile == QLatin1String("folder") ? dir.path()
        : scriptFile.isEmpty()                                       ? QString()
                                                                     : dir.filePath(QStringLiteral("Script.scpt"));
    if (scriptPath.endsWith(QLatin1String(".scpt")))
        QVERIFY(QFile(scriptPath).open(QIODevice::WriteOnly));

    selectRow(row);
    f.control(Tag::ScriptPathField).setStringValue(scriptPath);
    f.actions->eventStatus = eventStatus;
    f.actions->dimStatus = dimStatus;

    QList<bool> idleAtCall;
    f.actions->onCall = [&] { idleAtCall << windowIsIdle(); };
    f.alerts->whileOpen = [&] { idleAtCall << windowIsIdle(); };

    startCountdown(QStringLiteral("1"), QStringLiteral("Seconds"));
    QCOMPARE(f.delegate->counterTimer(), 2);
    // The box is read when the task ends, not when it starts.
    f.control(Tag::DimAfterScriptCheckBox).as<QAbstractButton>()->setChecked(dimAfterScript);
    if (scriptFile == QLatin1String("deleted"))
        QVERIFY(QFile::remove(scriptPath));
    const QDateTime past = QDateTime::currentDateTime().addSecs(-3600);
    setPicker(Tag::DatePickerA, past);

    tick();
    QCOMPARE(f.control(Tag::TimeLeftText).stringValue(), QStringLiteral("1 Second"));
    QVERIFY(f.actions->calls.isEmpty());

    tick();
    QStringList expectedCalls;
    for (const QString &call : std::as_const(calls))
        expectedCalls << QString(call).replace(QLatin1String("%1"), scriptPath);
    QCOMPARE(f.actions->calls, expectedCalls);
    QStringList shownAlert;
    for (const auto &[title, message] : std::as_const(f.alerts->alerts))
        shownAlert << title << message;
    QCOMPARE(shownAlert, alert);
    QVERIFY(windowIsIdle());
    QCOMPARE(idleAtCall, QList<bool>(expectedCalls.size() + (alert.isEmpty() ? 0 : 1), true));

    const QDateTime pickedDate = f.control(Tag::DatePickerA, f.page(1)).dateValue();
    QCOMPARE(pickedDate != past, catchUpInSameTick);
    tick();
    QVERIFY(f.control(Tag::DatePickerA, f.page(1)).dateValue() > past);
    QCOMPARE(f.actions->calls.size(), expectedCalls.size());
}

void tst_CountdownTick::stopAtCountTwoNeverFires()
{
    WindowFixture &f = *m_fixture;
    selectRow(ShutDownRow);
    startCountdown(QStringLiteral("5"), QStringLiteral("Seconds"));
    tick(4);
    QCOMPARE(f.delegate->counterTimer(), 2);

    f.control(Tag::RunButton).as<QAbstractButton>()->click();
    QVERIFY(windowIsIdle());
    tick(5);
    QVERIFY(f.actions->calls.isEmpty());
    QVERIFY(f.alerts->alerts.isEmpty());
    QCOMPARE(f.delegate->counterTimer(), 0);
}

void tst_CountdownTick::catchUp_data()
{
    QTest::addColumn<qint64>("offsetMs"); // picker A against now
    QTest::addColumn<bool>("running");
    QTest::addColumn<bool>("moved");

    QTest::newRow("pastPicker") << qint64(-3600 * 1000) << false << true;
    QTest::newRow("oneSecondBehind") << qint64(-1000) << false << true;
    QTest::newRow("futurePicker") << qint64(600 * 1000) << false << false;
    QTest::newRow("sameSecond") << qint64(0) << false << false;
    QTest::newRow("pastPickerWhileRunning") << qint64(-3600 * 1000) << true << false;
}

void tst_CountdownTick::catchUp()
{
    QFETCH(qint64, offsetMs);
    QFETCH(bool, running);
    QFETCH(bool, moved);

    WindowFixture &f = *m_fixture;
    if (running)
        startCountdown(QStringLiteral("1"), QStringLiteral("Hours"));
    // The countdown page is shown, so the date page is not in the window's
    // tree: the tick must still find the pickers.
    f.window->tabview1()->setCurrentIndex(0);

    // Stay clear of a second's end, so that "now" here and in the tick fall
    // in the same second.
    while (QDateTime::currentDateTime().time().msec() > 600)
        QThread::msleep(20);
    const QDateTime before = QDateTime::currentDateTime();
    const QDateTime picked = toSecond(before).addMSecs(offsetMs);
    const qint64 tags[] = {Tag::DatePickerA, Tag::DatePickerB, Tag::DatePickerC};
    const QDateTime original[] = {picked, picked.addDays(-2), picked.addDays(-3)};
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (int i = 0; i < 3; ++i) {
        setPicker(tags[i], original[i]);
        spies.push_back(std::make_unique<QSignalSpy>(
            f.control(tags[i], f.page(1)).as<QDateTimeEdit>(), &QDateTimeEdit::dateTimeChanged));
    }

    tick();
    const QDateTime after = QDateTime::currentDateTime();
    QCOMPARE(toSecond(after), toSecond(before));

    for (int i = 0; i < 3; ++i) {
        const Control picker = f.control(tags[i], f.page(1));
        if (moved) {
            QVERIFY2(picker.dateValue() >= before && picker.dateValue() <= after,
                qPrintable(picker.dateValue().toString(Qt::ISODateWithMs)));
            QVERIFY2(picker.minDate() >= before && picker.minDate() <= after,
                qPrintable(picker.minDate().toString(Qt::ISODateWithMs)));
        } else {
            QCOMPARE(picker.dateValue(), original[i]);
            QCOMPARE(picker.minDate(), original[i].addDays(-1));
        }
        // Moved from code: no mirroring, no action.
        QCOMPARE(spies.at(i)->count(), 0);
    }
    QVERIFY(f.alerts->alerts.isEmpty());
}

void tst_CountdownTick::noTickWhileAlertOpen_data()
{
    QTest::addColumn<bool>("actionError"); // else the refusal to close

    QTest::newRow("closeRefusal") << false;
    QTest::newRow("actionError") << true;
}

void tst_CountdownTick::noTickWhileAlertOpen()
{
    QFETCH(bool, actionError);

    WindowFixture &f = *m_fixture;
    QTimer *timer = tickTimer();
    int ticksWhileOpen = -1;
    QString textWhileOpen;
    f.alerts->whileOpen = [&] {
        const int ticksAtOpen = tickCount();
        // Three ticks fall due while the user looks at the alert.
        for (int i = 0; i < 3; ++i)
            QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
        ticksWhileOpen = tickCount() - ticksAtOpen;
        textWhileOpen = f.control(Tag::TimeLeftText).stringValue();
    };

    selectRow(ShutDownRow);
    if (actionError) {
        f.actions->eventStatus = -13;
        startCountdown(QStringLiteral("1"), QStringLiteral("Seconds"));
        tick(2);
        QCOMPARE(f.alerts->alerts.value(0).first, QStringLiteral("Error!"));
    } else {
        startCountdown(QStringLiteral("10"), QStringLiteral("Seconds"));
        tick();
        QVERIFY(!f.delegate->windowShouldClose(f.window.get()));
        QCOMPARE(textWhileOpen, QStringLiteral("10 Seconds"));
    }
    const int ticksBefore = tickCount();
    QCOMPARE(f.alerts->alerts.size(), 1);
    QCOMPARE(ticksWhileOpen, 0);

    // The one tick that fell due comes once the alert has closed; the
    // others are not made up.
    QCoreApplication::sendPostedEvents();
    QCOMPARE(tickCount(), ticksBefore + 1);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCOMPARE(tickCount(), ticksBefore + 1);
    if (!actionError)
        QCOMPARE(f.control(Tag::TimeLeftText).stringValue(), QStringLiteral("9 Seconds"));
}

QTEST_MAIN(tst_CountdownTick)
#include "tst_CountdownTick.moc"
