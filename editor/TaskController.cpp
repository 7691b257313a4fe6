#include "editor/TaskController.h"

#include "app/AppDelegate.h"
#include "app/Log.h"
#include "app/TaggedTabView.h"
#include "controls/Tags.h"
#include "editor/StartChecks.h"

#include <QDateTime>
#include <QFileInfo>
#include <QGroupBox>

namespace {
constexpr int ScriptActionRow = 5;
const QString CountdownPageLabel = QStringLiteral("Timer");
const QString ReminderTitle = QStringLiteral("Reminder");
const QString MissingScript = QStringLiteral("The script file does not exist");
const QString IllegalNumber = QStringLiteral("Illegal Number!");
} // namespace

TaskController::TaskController(AppDelegate &delegate)
    : m_delegate(delegate)
{
}

void TaskController::runButtonPressed()
{
    // Only the exact idle title starts a task; any other title counts as a
    // running task, so a press can always stop one.
    if (m_delegate.getGUIObject(Tag::RunButton, nullptr).title() == QLatin1String(RunTitle::Idle))
        startTask();
    else
        returnToIdle();
}

void TaskController::startTask()
{
    // Cleared before any check, so the next task never shows an old time
    // left, not even for the moment before its first tick.
    m_delegate.getGUIObject(Tag::TimeLeftText, nullptr).setStringValue(QString());

    const int actionRow = m_delegate.getGUIObject(Tag::ActionMatrix, m_delegate.aBox1()).selectedRow();
    if (actionRow == ScriptActionRow) {
        // The path is taken as typed; a folder counts as present, the end of
        // the task decides what to do with it.
        const QString path = m_delegate.getGUIObject(Tag::ScriptPathField, nullptr).stringValue();
        const bool exists = QFileInfo::exists(path);
        qCInfo(lcMorvane).noquote() << QString::asprintf("----------%d", exists ? 1 : 0);
        if (!exists) {
            refuse(MissingScript);
            return;
        }
    }

    const TaggedTabView *tabView = m_delegate.tabview1();
    const QString pageLabel = tabView ? tabView->selectedLabel() : QString();

    std::optional<qint64> length;
    if (pageLabel == CountdownPageLabel) {
        length = countdownLength();
        if (!length)
            return;
    } else {
        length = dateLength();
    }

    const std::optional<qint64> count = StartChecks::taskCount(*length, m_delegate.minimumCounter());
    if (!count) {
        refuse(IllegalNumber);
        return;
    }
    m_delegate.setCounterTimer(*count);
    enterRunning();
    // Every task that starts is put on record, so the settings file always
    // holds the last task the user started.
    m_delegate.defaultSaveAppSetting();
}

std::optional<qint64> TaskController::countdownLength()
{
    QWidget *page = m_delegate.schedulePage(0);
    Control numberField = m_delegate.getGUIObject(Tag::NumberField, page);
    const QString text = numberField.stringValue();
    qCInfo(lcMorvane).noquote() << text;

    const StartChecks::LeadingNumber number = StartChecks::parseLeadingNumber(text);
    if (number.status != StartChecks::NumberStatus::Ok || number.value <= 0) {
        refuse(IllegalNumber);
        return std::nullopt;
    }

    // The unit is weighed before the field is rewritten, so that a number
    // too large for its unit is refused with the user's text left as typed,
    // like every other refusal.
    const QString unit = m_delegate.getGUIObject(Tag::UnitComboBox, page).stringValue();
    const std::optional<qint64> factor = StartChecks::unitFactor(unit);
    std::optional<qint64> length = qint64(0);
    if (factor) {
        length = StartChecks::countdownLength(number.value, *factor);
        if (!length) {
            refuse(IllegalNumber);
            return std::nullopt;
        }
    }

    // Shows the user the number the task really uses ("007" -> "7",
    // " 12 min" -> "12").
    numberField.setStringValue(QString::number(number.value));
    return length;
}

qint64 TaskController::dateLength() const
{
    const Control pickerA = m_delegate.getGUIObject(Tag::DatePickerA, m_delegate.schedulePage(1));
    const QDateTime target = m_delegate.getTimeInfo(pickerA);
    // A date in the past gives a negative length, which the minimum then
    // raises; it is no error.
    const double seconds = QDateTime::currentDateTime().msecsTo(target) / 1000.0;
    return StartChecks::truncateTowardZero(seconds);
}

void TaskController::refuse(const QString &message)
{
    m_delegate.showAlert(ReminderTitle, message);
}

void TaskController::enterRunning()
{
    Control runButton = m_delegate.getGUIObject(Tag::RunButton, nullptr);
    runButton.setTitle(QLatin1String(RunTitle::Running));
    runButton.setRefusesFirstResponder(false);
    m_delegate.getGUIObject(Tag::ChooseScriptButton, nullptr).setEnabled(false);
    m_delegate.getGUIObject(Tag::ScriptPathField, nullptr).setEnabled(false);
    m_delegate.getGUIObject(Tag::TimeLeftCaption, nullptr).setHidden(false);
    m_delegate.getGUIObject(Tag::TimeLeftText, nullptr).setHidden(false);
    setEditingEnabled(false);
}

void TaskController::returnToIdle()
{
    m_delegate.getGUIObject(Tag::ChooseScriptButton, nullptr).setEnabled(true);
    m_delegate.getGUIObject(Tag::ScriptPathField, nullptr).setEnabled(true);
    m_delegate.getGUIObject(Tag::RunButton, nullptr).setTitle(QLatin1String(RunTitle::Idle));
    m_delegate.getGUIObject(Tag::TimeLeftCaption, nullptr).setHidden(true);
    // The text stays; the next start clears it.
    m_delegate.getGUIObject(Tag::TimeLeftText, nullptr).setHidden(true);
    setEditingEnabled(true);
    m_delegate.setCounterTimer(0);
}

void TaskController::setEditingEnabled(bool enabled)
{
    // Both schedule pages, whichever is shown; the script controls'
    // visibility is the action matrix's business, not this one's.
    QWidget *countdownPage = m_delegate.schedulePage(0);
    QWidget *datePage = m_delegate.schedulePage(1);

    m_delegate.getGUIObject(Tag::ChooseScriptButton, m_delegate.aBox1()).setEnabled(enabled);
    m_delegate.getGUIObject(Tag::ActionMatrix, m_delegate.aBox1()).setEnabled(enabled);
    m_delegate.getGUIObject(Tag::CountdownCaption, countdownPage).setEnabled(enabled);

    Control numberField = m_delegate.getGUIObject(Tag::NumberField, countdownPage);
    numberField.setEditable(enabled);
    numberField.setSelectable(enabled);
    numberField.setEnabled(enabled);

    m_delegate.getGUIObject(Tag::UnitComboBox, countdownPage).setEnabled(enabled);
    for (const qint64 tag : {Tag::DatePickerA, Tag::DatePickerB, Tag::DatePickerC, Tag::NowButton, Tag::MinimumStepper})
        m_delegate.getGUIObject(tag, datePage).setEnabled(enabled);
}
