#include "editor/CountdownTick.h"

#include "actions/SystemActions.h"
#include "controls/ActionRow.h"
#include "controls/Log.h"
#include "controls/Tags.h"
#include "controls/TaskContext.h"
#include "schedule/CalendarMath.h"
#include "task/RunningTask.h"
#include "task/TaskWarnings.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>

namespace {
constexpr qint64 DatePickers[] = {Tag::DatePickerA, Tag::DatePickerB, Tag::DatePickerC};
} // namespace

CountdownTick::CountdownTick(TaskContext &context, SystemActions &actions)
    : m_context(context)
    , m_actions(actions)
{
}

void CountdownTick::timerFired()
{
    qCDebug(lcMorvane, "1");

    // The expiry has just set the title back to "Run", so its tick goes on
    // with the catch-up like any idle tick; so does a tick that found the
    // task due while the computer slept.
    if (m_context.control(Tag::RunButton, Area::Window).title() == RunTitle::running()) {
        switch (m_context.runningTask().tick()) {
        case RunningTask::Status::Counting:
            showTimeLeft();
            return;
        case RunningTask::Status::Due:
            if (!expire())
                return;
            break;
        case RunningTask::Status::Asleep:
            return;
        case RunningTask::Status::Idle:
            break;
        }
    }
    qCDebug(lcMorvane, "3");
    // Nobody sees the pickers on the hidden page; they catch up when shown.
    if (m_context.isDatePageShown())
        followClock();
}

bool CountdownTick::expire()
{
    // Idle first: the action may not return (restart, log out) or may
    // suspend the machine, and the user must find the window unlocked.
    m_context.returnToIdle();

    const ActionRow row = actionRowAt(m_context.control(Tag::ActionMatrix, Area::ActionBox).selectedRow());
    int status = 0;
    if (const std::optional<quint32> event = powerEventOf(row)) {
        status = m_actions.sendPowerEvent(*event);
    } else if (row == ActionRow::DisplaySleep) {
        status = m_actions.turnDisplayOff();
    } else {
        // The script row, or no row: the task simply ends.
        if (row == ActionRow::RunScript)
            runScriptAction();
        return true;
    }

    if (status != 0) {
        m_context.showAlert(AlertKind::Error, AlertText::failedAction(status));
        return false;
    }
    return true;
}

void CountdownTick::runScriptAction()
{
    // The start checked the file, but it may have been moved or deleted
    // while the task ran.
    const QString path = m_context.control(Tag::ScriptPathField, Area::Window).stringValue();
    if (!QFileInfo::exists(path)) {
        m_context.showAlert(AlertKind::Reminder, AlertText::missingScript());
        return;
    }

    // The window stays idle while the script runs, but says so.
    Control status = m_context.control(Tag::TimeLeftText, Area::Window);
    status.setStringValue(QCoreApplication::translate("CountdownTick", "Running the script…"));
    status.announce(status.stringValue());
    status.setHidden(false);
    // A task started meanwhile comes later by the time the script takes.
    m_context.runningTask().beginHold();
    m_actions.runScript(path);
    m_context.runningTask().endHold();
    status.setHidden(true);
    // The box may have changed while the task ran, so it is read only now.
    // Nobody is watching a screen that is about to go dark, so a failure to
    // turn it off is not reported.
    if (m_context.control(Tag::DimAfterScriptCheckBox, Area::Window).state() == 1)
        m_actions.turnDisplayOff();
}

void CountdownTick::showTimeLeft()
{
    const qint64 left = m_context.runningTask().secondsLeft();
    m_context.setCounterTimer(left);
    Control text = m_context.control(Tag::TimeLeftText, Area::Window);
    const QString timeLeft = CalendarMath::calculateLeftTime(left);
    text.setStringValue(timeLeft);
    // A screen reader that spoke every second would drown everything else:
    // once a minute, and each second of the last ten.
    if (left % 60 == 0 || left <= 10)
        text.announce(timeLeft);
}

void CountdownTick::missedWhileAsleep(const QDateTime &due, const QString &action)
{
    m_context.returnToIdle();
    // Shown where the time left was, until the next start clears it.
    Control text = m_context.control(Tag::TimeLeftText, Area::Window);
    text.setStringValue(TaskWarnings::missedText(action, due));
    text.setHidden(false);
    text.announce(text.stringValue());
}

void CountdownTick::followClock()
{
    const QDateTime pickedDate = m_context.control(Tag::DatePickerA, Area::DatePage).dateValue();
    if (CalendarMath::compare2Days(pickedDate, QDateTime::currentDateTime()) != 0)
        return;

    // Setting a date or a minimum from code sends no action, so B and C are
    // not mirrored from A here; they are set themselves.
    for (qint64 tag : DatePickers)
        m_context.control(tag, Area::DatePage).setDateValue(QDateTime::currentDateTime());
    for (qint64 tag : DatePickers)
        m_context.control(tag, Area::DatePage).setMinDate(QDateTime::currentDateTime());
}
