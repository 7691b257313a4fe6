#include "schedule/CountdownTick.h"

#include "actions/SystemActions.h"
#include "app/AppDelegate.h"
#include "app/Log.h"
#include "controls/Tags.h"
#include "editor/TaskController.h"

#include <QDateTime>
#include <QFileInfo>
#include <QGroupBox>
#include <QWidget>

namespace {
const QString ErrorTitle = QStringLiteral("Error!");
const QString ReminderTitle = QStringLiteral("Reminder");
const QString MissingScript = QStringLiteral("The script file does not exist");

// Rows of the action matrix.
constexpr int RestartRow = 0;
constexpr int ShutDownRow = 1;
constexpr int LogOutRow = 2;
constexpr int SleepRow = 3;
constexpr int DisplaySleepRow = 4;
constexpr int ScriptRow = 5;

constexpr qint64 DatePickers[] = {Tag::DatePickerA, Tag::DatePickerB, Tag::DatePickerC};
} // namespace

CountdownTick::CountdownTick(AppDelegate &delegate)
    : m_delegate(delegate)
{
}

void CountdownTick::timerFired()
{
    qCDebug(lcMorvane, "1");

    if (m_delegate.counterTimer() == 1 && !expire())
        return;

    // The expiry has just set the title back to "Run", so its tick goes on
    // with the catch-up like any idle tick.
    if (m_delegate.getGUIObject(Tag::RunButton, nullptr).title() == QLatin1String(RunTitle::Running))
        countDown();
    else
        catchUpPickers();
}

bool CountdownTick::expire()
{
    // Idle first: the action may not return (restart, log out) or may
    // suspend the machine, and the user must find the window unlocked.
    m_delegate.taskController().returnToIdle();

    const int row = m_delegate.getGUIObject(Tag::ActionMatrix, m_delegate.aBox1()).selectedRow();
    SystemActions &actions = m_delegate.systemActions();
    int status = 0;
    switch (row) {
    case RestartRow:
        status = actions.sendSystemProcessEvent(EventId::Restart);
        break;
    case ShutDownRow:
        status = actions.sendSystemProcessEvent(EventId::ShutDown);
        break;
    case LogOutRow:
        status = actions.sendSystemProcessEvent(EventId::ReallyLogOut);
        break;
    case SleepRow:
        status = actions.sendSystemProcessEvent(EventId::Sleep);
        break;
    case DisplaySleepRow:
        status = actions.dimDisplayNow();
        break;
    case ScriptRow:
        runScriptAction();
        return true;
    default:
        // No row selected: the task simply ends.
        return true;
    }

    if (status != 0) {
        m_delegate.showAlert(ErrorTitle, QString::number(status));
        return false;
    }
    return true;
}

void CountdownTick::runScriptAction()
{
    // The start checked the file, but it may have been moved or deleted
    // while the task ran.
    const Control pathField = m_delegate.getGUIObject(Tag::ScriptPathField, nullptr);
    if (!QFileInfo::exists(pathField.stringValue())) {
        m_delegate.showAlert(ReminderTitle, MissingScript);
        return;
    }

    SystemActions &actions = m_delegate.systemActions();
    actions.runAppleScript(pathField.stringValue());
    // The box may have changed while the task ran, so it is read only now.
    // Nobody is watching a screen that is about to go dark, so a failure to
    // turn it off is not reported.
    if (m_delegate.getGUIObject(Tag::DimAfterScriptCheckBox, nullptr).state() == 1)
        actions.dimDisplayNow();
}

void CountdownTick::countDown()
{
    const qint64 left = m_delegate.counterTimer() - 1;
    m_delegate.setCounterTimer(left);
    m_delegate.getGUIObject(Tag::TimeLeftText, nullptr).setStringValue(m_delegate.calculateLeftTime(left));
}

void CountdownTick::catchUpPickers()
{
    qCDebug(lcMorvane, "3");

    // The pickers live on the date page, which need not be the page shown.
    QWidget *datePage = m_delegate.schedulePage(1);
    const QDateTime pickedDate = m_delegate.getTimeInfo(m_delegate.getGUIObject(Tag::DatePickerA, datePage));
    if (m_delegate.compare2Days(pickedDate, QDateTime::currentDateTime()) != 0)
        return;

    // Setting a date or a minimum from code sends no action, so B and C are
    // not mirrored from A here; they are set themselves.
    for (qint64 tag : DatePickers)
        m_delegate.setTimeInfo(QDateTime::currentDateTime(), m_delegate.getGUIObject(tag, datePage));
    for (qint64 tag : DatePickers)
        m_delegate.getGUIObject(tag, datePage).setMinDate(QDateTime::currentDateTime());
}
