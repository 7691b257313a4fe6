#include "app/WindowTitle.h"

#include "schedule/Duration.h"
#include "task/RunningTask.h"

namespace {
const QString ProductName = QStringLiteral("Morvane");
} // namespace

WindowTitle::WindowTitle(RunningTask &task, QWidget *window, QObject *parent)
    : QObject(parent)
    , m_task(task)
    , m_window(window)
{
    connect(&task, &RunningTask::started, this, &WindowTitle::show);
    connect(&task, &RunningTask::timeLeftChanged, this, &WindowTitle::show);
    connect(&task, &RunningTask::ended, this, [this] {
        if (m_window)
            m_window->setWindowTitle(ProductName);
    });
}

void WindowTitle::show(qint64 secondsLeft)
{
    if (!m_window)
        return;
    QStringList parts {Duration::clockText(secondsLeft), m_task.action(), ProductName};
    parts.removeAll(QString());
    m_window->setWindowTitle(parts.join(QStringLiteral(" – ")));
}
