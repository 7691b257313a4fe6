#include "editor/ScheduleEditor.h"

#include "controls/ActionRow.h"
#include "controls/Tags.h"
#include "controls/TaskContext.h"
#include "editor/ReadinessNotice.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QMetaObject>

namespace {
constexpr int OpenButtonResult = 1;
} // namespace

ScheduleEditor::ScheduleEditor(TaskContext &context, ReadinessNotice &notice, QWidget *dialogParent)
    : m_context(context)
    , m_notice(notice)
    , m_dialogParent(dialogParent)
{
}

void ScheduleEditor::actionSelected()
{
    // The path field keeps its text while hidden, so coming back to the
    // script row shows the same file. The spare box is never shown.
    const bool script
        = actionRowAt(m_context.control(Tag::ActionMatrix, Area::ActionBox).selectedRow()) == ActionRow::RunScript;
    const qint64 scriptControls[]
        = {Tag::ScriptCaption, Tag::ScriptPathField, Tag::ChooseScriptButton, Tag::DimAfterScriptCheckBox};
    for (const qint64 tag : scriptControls)
        m_context.control(tag, Area::Window).setHidden(!script);
    m_context.control(Tag::SpareCheckBox, Area::Window).setHidden(true);
    m_context.control(Tag::RunButton, Area::Window).setEnabled(true);
    m_notice.update();
}

void ScheduleEditor::mirrorDates(QObject *changedPicker)
{
    const Control changed(changedPicker);
    qint64 first = 0;
    qint64 second = 0;
    switch (changed.tag()) {
    case Tag::DatePickerA:
        first = Tag::DatePickerB;
        second = Tag::DatePickerC;
        break;
    case Tag::DatePickerB:
        first = Tag::DatePickerA;
        second = Tag::DatePickerC;
        break;
    case Tag::DatePickerC:
        first = Tag::DatePickerA;
        second = Tag::DatePickerB;
        break;
    default:
        return;
    }

    // A date set from code sends no change, so the copies cannot start
    // another round of mirroring.
    for (const qint64 target : {first, second})
        m_context.control(target, Area::DatePage).setDateValue(changed.dateValue());
}

void ScheduleEditor::resetToNow()
{
    for (const qint64 tag : {Tag::DatePickerA, Tag::DatePickerB, Tag::DatePickerC})
        m_context.control(tag, Area::DatePage).setDateValue(QDateTime::currentDateTime());
}

void ScheduleEditor::minimumChanged()
{
    const Control stepper = m_context.control(Tag::MinimumStepper, Area::DatePage);
    const qint32 minimum = static_cast<qint32>(stepper.integerValue());
    m_context.setMinimumCounter(minimum);
    displayMinimumSeconds(minimum);
}

void ScheduleEditor::displayMinimumSeconds(qint64 n)
{
    // n = 1 reads as one second; otherwise the current minimum (which the
    // stepper keeps within an int) is shown in the form its count takes.
    const int count = n == 1 ? 1 : int(m_context.minimumCounter());
    m_context.control(Tag::MinimumSecondsText, Area::DatePage).setStringValue(tr("%n second(s)", nullptr, count));
}

void ScheduleEditor::chooseScriptFile()
{
    // The dialog is window-modal, so a second one cannot be asked for by
    // hand; should it be asked for anyway, the open one is the answer.
    if (m_panel) {
        m_panel->raise();
        m_panel->activateWindow();
        return;
    }

    auto *panel = new QFileDialog(m_dialogParent);
    panel->setWindowModality(Qt::WindowModal);
    panel->setAcceptMode(QFileDialog::AcceptOpen);
    panel->setFileMode(QFileDialog::ExistingFile);
    panel->setNameFilters({tr("Scripts (*.sh *.bash *.py *.pl *.rb *.scpt)"), tr("All files (*)")});
    panel->setDirectory(QDir::homePath());
    panel->selectFile(tr("Script"));
    m_panel = panel;
    connect(panel, &QFileDialog::finished, this, [this, panel](int result) {
        openFileDidEnd(panel, result, nullptr);
        if (m_panel == panel)
            m_panel = nullptr;
        panel->deleteLater();
    });
    panel->open();
}

void ScheduleEditor::openFileDidEnd(QFileDialog *panel, int returnCode, void *)
{
    if (returnCode != OpenButtonResult || !panel)
        return;
    const QString path = panel->selectedFiles().value(0);
    if (path.isEmpty())
        return;
    // The field is written from the event loop, after this handler has
    // returned and the dialog is gone; nothing here waits for it.
    QMetaObject::invokeMethod(
        this, [this, path] { setFileString(path); }, Qt::QueuedConnection);
}

void ScheduleEditor::setFileString(const QString &path)
{
    m_context.control(Tag::ScriptPathField, Area::Window).setStringValue(path);
}
