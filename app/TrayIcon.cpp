#include "app/TrayIcon.h"

#include "app/Config.h"
#include "controls/Log.h"
#include "schedule/Duration.h"
#include "task/RunningTask.h"
#include "task/TaskWarnings.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

TrayIcon::TrayIcon(RunningTask &task, QWidget *window, std::function<void()> stop, QObject *parent)
    : QObject(parent)
    , m_task(task)
    , m_window(window)
    , m_stop(std::move(stop))
    , m_menu(new QMenu)
    , m_icon(new QSystemTrayIcon(runningIcon(), this))
{
    // Each entry's route runs from the event loop, after the menu or the
    // host's call has been answered: Stop ends the task, and the icon with it.
    const auto entry = [this](const QString &text, const std::function<void()> &route) {
        connect(m_menu->addAction(text), &QAction::triggered, this, route, Qt::QueuedConnection);
    };
    entry(tr("Show Morvane"), [this] { raiseWindow(); });
    entry(tr("Stop"), [this] {
        if (m_stop)
            m_stop();
    });
    entry(tr("Postpone 10 minutes"), [this] { m_task.postpone(TaskWarnings::PostponeSeconds); });
    m_icon->setContextMenu(m_menu);
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        // A click, a double click or a middle click all mean "show me";
        // the context menu opens by itself.
        if (reason != QSystemTrayIcon::Context)
            raiseWindow();
    });

    // The same signals the window's title follows, so the tooltip changes
    // no more often than the title.
    connect(&task, &RunningTask::started, this, &TrayIcon::show);
    connect(&task, &RunningTask::timeLeftChanged, this, &TrayIcon::show);
    connect(&task, &RunningTask::ended, this, &TrayIcon::hide);
}

TrayIcon::~TrayIcon()
{
    // The menu has no parent widget to end it.
    m_icon->setContextMenu(nullptr);
    delete m_menu;
}

void TrayIcon::show(qint64 secondsLeft)
{
    // A host is told only when the text has changed.
    const QString text = toolTip(m_task.action(), secondsLeft);
    if (m_icon->toolTip() != text)
        m_icon->setToolTip(text);
    if (!m_icon->isVisible() && !m_trayLooked) {
        // Asked once a task, since asking a watcher on the bus waits for its
        // answer. Without a tray Qt would watch for an X11 one to appear,
        // and on any other display complain that it cannot.
        m_trayLooked = true;
        if (QSystemTrayIcon::isSystemTrayAvailable())
            m_icon->show();
        else
            qCDebug(lcMorvane, "No tray to show the running task in.");
    }
}

void TrayIcon::hide()
{
    m_icon->hide();
    m_trayLooked = false;
}

QString TrayIcon::toolTip(const QString &action, qint64 secondsLeft)
{
    // With no action selected the task just ends, and says so.
    const QString what = action.isEmpty() ? tr("The task ends") : action;
    //: The action, then the time left as a clock shows it: "Shut Down in 4:59".
    return tr("%1 in %2").arg(what, Duration::clockText(secondsLeft));
}

QIcon TrayIcon::runningIcon()
{
    // Exact pixels for the sizes panels use, the largest for HiDPI ones.
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64})
        icon.addFile(QStringLiteral(":/icons/%1x%1/" MORVANE_APP_ID "-running.png").arg(size), QSize(size, size));
    return icon;
}

void TrayIcon::raiseWindow()
{
    if (!m_window)
        return;
    m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}
