#include "app/PostponeButton.h"

#include "task/RunningTask.h"
#include "task/TaskWarnings.h"

#include <QAbstractButton>

PostponeButton::PostponeButton(RunningTask &task, QAbstractButton *button, QObject *parent)
    : QObject(parent)
    , m_task(task)
    , m_button(button)
{
    if (!m_button)
        return;
    setShown(task.isRunning());
    connect(&task, &RunningTask::started, this, [this] { setShown(true); });
    connect(&task, &RunningTask::ended, this, [this] { setShown(false); });
    // The warning's and the tray's route: only the due time moves.
    connect(m_button, &QAbstractButton::clicked, this, [this] { m_task.postpone(TaskWarnings::PostponeSeconds); });
}

void PostponeButton::setShown(bool shown)
{
    // Hidden, it leaves the Tab order, and Qt hands its focus on.
    if (m_button)
        m_button->setVisible(shown);
}
