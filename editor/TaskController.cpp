#include "editor/TaskController.h"

#include "controls/ActionRow.h"
#include "controls/Log.h"
#include "controls/RadioMatrix.h"
#include "controls/Tags.h"
#include "controls/TaskContext.h"
#include "editor/ReadinessNotice.h"
#include "schedule/StartChecks.h"
#include "settings/SettingsWriter.h"
#include "task/RunningTask.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>

namespace {
// The countdown page's label as the window shows it, in the user's language:
// the main window's own text for the tab, so both come from one entry.
QString countdownPageLabel()
{
    return withoutMnemonic(QCoreApplication::translate("MainWindow", "&Timer"));
}
} // namespace

TaskController::TaskController(TaskContext &context, SettingsWriter &settings, ReadinessNotice &notice)
    : m_context(context)
    , m_settings(settings)
    , m_notice(notice)
{
}

void TaskController::runButtonPressed()
{
    // Only the exact idle title starts a task; any other title counts as a
    // running task, so a press can always stop one.
    if (m_context.control(Tag::RunButton, Area::Window).title() == RunTitle::idle())
        startTask();
    else
        returnToIdle();
}

void TaskController::startTask()
{
    // Cleared before any check, so the next task never shows an old time
    // left, not even for the moment before its first tick.
    m_context.control(Tag::TimeLeftText, Area::Window).setStringValue(QString());

    const ActionRow row = actionRowAt(m_context.control(Tag::ActionMatrix, Area::ActionBox).selectedRow());
    if (row == ActionRow::RunScript) {
        // The path is taken as typed; a folder counts as present, the end of
        // the task decides what to do with it.
        const QString path = m_context.control(Tag::ScriptPathField, Area::Window).stringValue();
        const bool exists = QFileInfo::exists(path);
        qCInfo(lcMorvane).noquote() << QString::asprintf("----------%d", exists ? 1 : 0);
        if (!exists) {
            refuse(AlertText::missingScript());
            return;
        }
    }

    std::optional<qint64> length;
    std::optional<QDateTime> moment;
    if (m_context.selectedPageLabel() == countdownPageLabel()) {
        length = countdownLength();
        if (!length)
            return;
    } else {
        moment = m_context.control(Tag::DatePickerA, Area::DatePage).dateValue();
        length = dateLength(*moment);
        if (!length)
            return;
    }

    const std::optional<qint64> count = StartChecks::taskCount(*length, m_context.minimumCounter());
    if (!count) {
        refuse(AlertText::illegalNumber());
        return;
    }
    m_context.setCounterTimer(*count);
    enterRunning();
    // Every task that starts is put on record, so the settings file always
    // holds the last task the user started.
    m_settings.save();
    m_notice.update();
    // The count holds the one tick that ends the task; the rest is the time
    // left before the action. A date task keeps its moment on the wall clock
    // unless the minimum raised it.
    RunningTask &task = m_context.runningTask();
    if (moment && *length >= m_context.minimumCounter())
        task.startAt(*moment, selectedActionName());
    else
        task.startCountdown(*count - 1, selectedActionName());
}

QString TaskController::selectedActionName() const
{
    const auto *matrix = m_context.control(Tag::ActionMatrix, Area::ActionBox).as<RadioMatrix>();
    return matrix ? withoutMnemonic(matrix->rows().value(matrix->selectedRow())) : QString();
}

std::optional<qint64> TaskController::countdownLength()
{
    Control numberField = m_context.control(Tag::NumberField, Area::CountdownPage);
    const QString text = numberField.stringValue();
    qCInfo(lcMorvane).noquote() << text;

    const StartChecks::LeadingNumber number = StartChecks::parseLeadingNumber(text);
    if (number.status != StartChecks::NumberStatus::Ok || number.value <= 0) {
        refuse(AlertText::illegalNumber());
        return std::nullopt;
    }

    // The unit is weighed before the field is rewritten, so that a number
    // too large for its unit is refused with the user's text left as typed,
    // like every other refusal.
    const QString unit = m_context.control(Tag::UnitComboBox, Area::CountdownPage).stringValue();
    // A unit that is none of the six would start a task of the minimum
    // length: a power action a second after Run, with no warning.
    const std::optional<qint64> factor = StartChecks::unitFactor(unit);
    if (!factor) {
        refuse(AlertText::unknownUnit());
        return std::nullopt;
    }
    const std::optional<qint64> length = StartChecks::countdownLength(number.value, *factor);
    if (!length) {
        refuse(AlertText::illegalNumber());
        return std::nullopt;
    }

    // Shows the user the number the task really uses ("007" -> "7",
    // " 12 min" -> "12").
    numberField.setStringValue(QString::number(number.value));
    return length;
}

std::optional<qint64> TaskController::dateLength(const QDateTime &target)
{
    // A date that is not ahead (a mistyped year, a picker that snapped back
    // to now) would carry out the action at once. The minimum still raises a
    // short task that is ahead.
    const double seconds = QDateTime::currentDateTime().msecsTo(target) / 1000.0;
    const qint64 length = StartChecks::truncateTowardZero(seconds);
    if (length <= 0) {
        refuse(AlertText::datePassed());
        return std::nullopt;
    }
    return length;
}

void TaskController::refuse(const QString &message)
{
    m_context.showAlert(AlertKind::Reminder, message);
}

void TaskController::enterRunning()
{
    Control runButton = m_context.control(Tag::RunButton, Area::Window);
    runButton.setTitle(RunTitle::runningText());
    runButton.setRefusesFirstResponder(false);
    m_context.control(Tag::ChooseScriptButton, Area::Window).setEnabled(false);
    m_context.control(Tag::ScriptPathField, Area::Window).setEnabled(false);
    m_context.control(Tag::TimeLeftCaption, Area::Window).setHidden(false);
    m_context.control(Tag::TimeLeftText, Area::Window).setHidden(false);
    setEditingEnabled(false);
}

void TaskController::returnToIdle()
{
    m_context.control(Tag::ChooseScriptButton, Area::Window).setEnabled(true);
    m_context.control(Tag::ScriptPathField, Area::Window).setEnabled(true);
    m_context.control(Tag::RunButton, Area::Window).setTitle(RunTitle::idleText());
    m_context.control(Tag::TimeLeftCaption, Area::Window).setHidden(true);
    // The text stays; the next start clears it.
    m_context.control(Tag::TimeLeftText, Area::Window).setHidden(true);
    setEditingEnabled(true);
    m_context.setCounterTimer(0);
    // Last, and before the tick carries the action out: the idle lock must
    // be gone by then.
    m_context.runningTask().end();
}

void TaskController::setEditingEnabled(bool enabled)
{
    // Both schedule pages, whichever is shown; the script controls'
    // visibility is the action matrix's business, not this one's.
    m_context.control(Tag::ChooseScriptButton, Area::ActionBox).setEnabled(enabled);
    m_context.control(Tag::ActionMatrix, Area::ActionBox).setEnabled(enabled);
    m_context.control(Tag::CountdownCaption, Area::CountdownPage).setEnabled(enabled);

    Control numberField = m_context.control(Tag::NumberField, Area::CountdownPage);
    numberField.setEditable(enabled);
    numberField.setSelectable(enabled);
    numberField.setEnabled(enabled);

    m_context.control(Tag::UnitComboBox, Area::CountdownPage).setEnabled(enabled);
    for (const qint64 tag : {Tag::DatePickerA, Tag::DatePickerB, Tag::DatePickerC, Tag::NowButton, Tag::MinimumStepper})
        m_context.control(tag, Area::DatePage).setEnabled(enabled);
}
