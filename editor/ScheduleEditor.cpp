#include "editor/ScheduleEditor.h"

#include "app/AppDelegate.h"
#include "app/MainWindow.h"
#include "controls/Tags.h"

#include <QDateTime>
#include <QFileDialog>
#include <QGroupBox>
#include <QMetaObject>

namespace {
constexpr int ScriptActionRow = 5;
constexpr int OpenButtonResult = 1;
} // namespace

ScheduleEditor::ScheduleEditor(AppDelegate &delegate)
    : m_delegate(delegate)
{
}

void ScheduleEditor::actionSelected()
{
    // The path field keeps its text while hidden, so coming back to the
    // script row shows the same file. The spare box is never shown.
    const bool script = m_delegate.getGUIObject(Tag::ActionMatrix, m_delegate.aBox1()).selectedRow() == ScriptActionRow;
    const qint64 scriptControls[] = {Tag::ScriptCaption, Tag::ScriptPathField, Tag::ChooseScriptButton,
                                     Tag::DimAfterScriptCheckBox};
    for (const qint64 tag : scriptControls)
        m_delegate.getGUIObject(tag, nullptr).setHidden(!script);
    m_delegate.getGUIObject(Tag::SpareCheckBox, nullptr).setHidden(true);
    m_delegate.getGUIObject(Tag::RunButton, nullptr).setEnabled(true);
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

    // setTimeInfo() sets a picker without it sending its change, so the
    // copies cannot start another round of mirroring.
    QWidget *datePage = m_delegate.schedulePage(1);
    for (const qint64 target : {first, second})
        m_delegate.setTimeInfo(m_delegate.getTimeInfo(changed), m_delegate.getGUIObject(target, datePage));
}

void ScheduleEditor::resetToNow()
{
    QWidget *datePage = m_delegate.schedulePage(1);
    for (const qint64 tag : {Tag::DatePickerA, Tag::DatePickerB, Tag::DatePickerC})
        m_delegate.setTimeInfo(QDateTime::currentDateTime(), m_delegate.getGUIObject(tag, datePage));
}

void ScheduleEditor::minimumChanged()
{
    const Control stepper = m_delegate.getGUIObject(Tag::MinimumStepper, m_delegate.schedulePage(1));
    const qint32 minimum = static_cast<qint32>(stepper.integerValue());
    m_delegate.setMinimumCounter(minimum);
    m_delegate.displayMinimumSeconds(minimum);
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

    auto *panel = new QFileDialog(m_delegate.window());
    panel->setWindowModality(Qt::WindowModal);
    panel->setAcceptMode(QFileDialog::AcceptOpen);
    panel->setFileMode(QFileDialog::ExistingFile);
    panel->setNameFilter(QStringLiteral("*.scpt"));
    panel->selectFile(QStringLiteral("Script"));
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
    m_delegate.getGUIObject(Tag::ScriptPathField, nullptr).setStringValue(path);
}

QFileDialog *ScheduleEditor::openPanel() const
{
    return m_panel;
}
