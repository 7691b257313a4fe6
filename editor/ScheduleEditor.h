#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QFileDialog;
class ReadinessNotice;
class QWidget;
class TaskContext;

// The handlers that edit a task while no task runs: the action choice, the
// three date pickers, the now button, the minimum-seconds stepper and the
// script-file dialog.
class ScheduleEditor : public QObject
{
    Q_OBJECT

public:
    // The script-file dialog opens over dialogParent; notice warns about
    // an action the system will refuse.
    ScheduleEditor(TaskContext &context, ReadinessNotice &notice, QWidget *dialogParent);

    // The action matrix: shows or hides the script controls, and warns
    // when the system will refuse the action.
    void actionSelected();
    // A date picker changed by the user: the other two follow it.
    void mirrorDates(QObject *changedPicker);
    // The now button: the three pickers to the current time.
    void resetToNow();
    // The minimum-seconds stepper: the new minimum and its text.
    void minimumChanged();
    // The minimum-seconds text: "1 second" for n = 1, else the current
    // minimum with its plural form (every caller has just made it n).
    void displayMinimumSeconds(qint64 n);
    // The choose-script button: a window-modal file dialog that returns at
    // once; openFileDidEnd() runs when the user closes it.
    // While the dialog is open, another press only brings it to the front.
    void chooseScriptFile();
    // The dialog's end: on 1 (open) the chosen path is handed on to
    // setFileString() through the event loop, so this returns at once;
    // anything else keeps the old path.
    void openFileDidEnd(QFileDialog *panel, int returnCode, void *contextInfo);
    // Writes the chosen path into the script path field.
    void setFileString(const QString &path);

private:
    TaskContext &m_context;
    ReadinessNotice &m_notice;
    QPointer<QWidget> m_dialogParent;
    QPointer<QFileDialog> m_panel;
};
