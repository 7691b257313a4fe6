#include "app/Launcher.h"

#include "actions/DesktopNotifier.h"
#include "actions/LinuxSystemActions.h"
#include "actions/LogindInhibitor.h"
#include "app/AfterFirstPaint.h"
#include "app/CommandLine.h"
#include "app/CommandLineTask.h"
#include "app/Config.h"
#include "controls/Log.h"
#include "controls/MessageBoxAlertPresenter.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

#include <cstdio>

namespace {
// Every size drawn for Morvane, from the copy built into the binary, so the
// window manager gets exact pixels from a build tree and an install alike.
// Menus and docks take the installed icon through the desktop entry.
QIcon applicationIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1x%1/" MORVANE_APP_ID ".png").arg(size), QSize(size, size));
    return icon;
}
} // namespace

void Launcher::leaveSessionManagement()
{
    // Qt registers with the X session manager named here. A saved session
    // would start Morvane again at the next log-in, although a timer that
    // ends a session must not come back by itself; and a registered client
    // can be killed by SIGPIPE as the manager goes away during log-out.
    qunsetenv("SESSION_MANAGER");
}

void Launcher::describeApplication()
{
    QApplication::setApplicationName(QStringLiteral("Morvane"));
    QApplication::setOrganizationName(QStringLiteral("Morvane"));
    QApplication::setApplicationVersion(QStringLiteral(MORVANE_VERSION));
    // Ties the window to its desktop entry (the app id on Wayland).
    QApplication::setDesktopFileName(QStringLiteral(MORVANE_APP_ID));
}

SingleInstance::Claim Launcher::claim(const CommandLine &commandLine)
{
    const QString path = SingleInstance::socketPath();
    if (path.isEmpty()) {
        qCWarning(lcMorvane) << "No folder of this user's own for Morvane's socket: this Morvane runs on its own";
        return {};
    }
    return SingleInstance::claim(path, commandLine.given());
}

std::optional<int> Launcher::report(const CommandLine &commandLine, const SingleInstance::HandOver &handOver)
{
    QString text;
    int status = 1;
    switch (handOver.status) {
    case SingleInstance::HandOver::NoneRunning:
        if (!commandLine.request().postpone)
            return std::nullopt;
        text = QCoreApplication::translate(
            "Launcher", "Morvane is not running in this session; there is nothing to postpone.");
        break;
    case SingleInstance::HandOver::Answered:
        if (!handOver.reply.text.isEmpty())
            std::fprintf(stderr, "%s\n", handOver.reply.text.toLocal8Bit().constData());
        return handOver.reply.status;
    case SingleInstance::HandOver::NoAnswer:
        text = QCoreApplication::translate("Launcher",
            "Morvane is running in this session but did not answer in time. Nothing of this start was carried out.");
        break;
    case SingleInstance::HandOver::Stranger:
        text = QCoreApplication::translate("Launcher",
            "Morvane's socket %1 is held by another user (uid %2). Nothing was sent to it, and no window opens "
            "while it is held.")
                   .arg(SingleInstance::socketPath())
                   .arg(qint64(handOver.peer));
        break;
    case SingleInstance::HandOver::TooLong:
        text = QCoreApplication::translate(
            "Launcher", "The command line is longer than %1 KiB; nothing was handed to the Morvane running.")
                   .arg(SingleInstance::MaxMessageBytes / 1024);
        status = 2;
        break;
    }
    std::fprintf(stderr, "morvane: %s\n", text.toLocal8Bit().constData());
    return status;
}

Launcher::Launcher()
    : Launcher(std::make_unique<LinuxSystemActions>(), nullptr,
        std::make_unique<DesktopNotifier>(QStringLiteral(MORVANE_APP_ID)), std::make_unique<LogindInhibitor>())
{
}

Launcher::Launcher(std::unique_ptr<SystemActions> actions, std::unique_ptr<AlertPresenter> alerts,
    std::unique_ptr<TaskNotifier> notifier, std::unique_ptr<IdleInhibitor> inhibitor, std::unique_ptr<TaskClock> clock)
    // The message boxes sit on the window, which exists by the time the
    // delegate is made.
    : m_delegate(std::make_unique<AppDelegate>(&m_window, std::move(actions),
        alerts ? std::move(alerts) : std::make_unique<MessageBoxAlertPresenter>(&m_window), std::move(clock)))
    , m_notifier(std::move(notifier))
    , m_inhibitor(std::move(inhibitor))
    , m_title(m_delegate->runningTask(), &m_window)
    , m_postpone(m_delegate->runningTask(), m_window.postponeButton())
    , m_tray(m_delegate->runningTask(), &m_window, [this] { m_delegate->stopRunningTask(); })
{
    RunningTask &task = m_delegate->runningTask();
    if (m_notifier) {
        m_warnings = std::make_unique<TaskWarnings>(task, *m_notifier);
        m_notifier->setStopHandler([this] { m_delegate->stopRunningTask(); });
    }
    if (m_inhibitor)
        m_idleLock = std::make_unique<IdleLock>(task, *m_inhibitor);
    QObject::connect(&m_sleepWatcher, &LogindSleepWatcher::prepareForSleep, &task, &RunningTask::prepareForSleep);
    // Queued, so that the window's close event finishes before the loop ends.
    QObject::connect(
        m_delegate.get(), &AppDelegate::terminationRequested, m_delegate.get(), [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);
}

void Launcher::launch(const TaskRequest &request, std::unique_ptr<InstanceLock> instanceLock)
{
    m_delegate->applicationDidFinishLaunching();
    m_window.show();
    m_instanceLock = std::move(instanceLock);
    const QString path = SingleInstance::socketPath();
    if (!m_instanceLock && !path.isEmpty()) {
        // Now, so that a start meanwhile waits for this one to listen.
        auto lock = std::make_unique<InstanceLock>(path + QStringLiteral(".lock"));
        if (lock->tryLock() == InstanceLock::Result::Taken)
            m_instanceLock = std::move(lock);
    }
    // Decoding the icon's eight sizes and opening the socket cost the first
    // paint milliseconds; the window manager takes a new icon at any time,
    // and a later start keeps trying until the socket is there.
    AfterFirstPaint::run(&m_window, &m_window, [this] {
        QApplication::setWindowIcon(applicationIcon());
        listenForLaterStarts();
    });
    startLater(request);
}

void Launcher::listenForLaterStarts()
{
    // Without the lock another Morvane listens, or none may.
    const QString path = SingleInstance::socketPath();
    if (!m_instanceLock || path.isEmpty())
        return;
    m_instance.listen(
        path, std::move(m_instanceLock), [this](const QStringList &arguments) { return takeOver(arguments); });
}

SingleInstance::Reply Launcher::takeOver(const QStringList &arguments)
{
    m_window.show();
    m_window.raise();
    m_window.activateWindow();
    const CommandLine commandLine = CommandLine::parse(arguments);
    if (commandLine.outcome() == CommandLine::Outcome::Error)
        return {2, commandLine.message().trimmed()};
    if (commandLine.outcome() != CommandLine::Outcome::Start)
        return {};
    if (commandLine.request().postpone)
        return postpone(*commandLine.request().postpone);
    if (!commandLine.request().asksForTask())
        return {};
    // The later start made its files absolute; a relative one would be
    // looked up in this Morvane's folder, not the one it was typed in.
    const QString &script = commandLine.request().script;
    if (!script.isEmpty() && QDir::isRelativePath(script)) {
        return {2,
            QStringLiteral("morvane: ")
                + QCoreApplication::translate("Launcher", "The script path '%1' is not absolute; nothing was started.")
                      .arg(script)};
    }
    if (m_delegate->isTaskRunning())
        return {1,
            QCoreApplication::translate("Launcher",
                "Morvane is already counting down (%1); that task goes on and this one was not started. Press Stop in "
                "the window first to start another.")
                .arg(m_window.windowTitle())};
    startLater(commandLine.request());
    return {};
}

SingleInstance::Reply Launcher::postpone(qint64 seconds)
{
    RunningTask &task = m_delegate->runningTask();
    if (!task.isRunning())
        return {1, QCoreApplication::translate("Launcher", "No task is counting down; there is nothing to postpone.")};
    // The same route as the warning's Postpone: the editor stays locked.
    task.postpone(seconds);
    return {0,
        QCoreApplication::translate("Launcher", "Postponed: %1 at %2.")
            .arg(task.action().isEmpty() ? QCoreApplication::translate("Launcher", "the task ends") : task.action(),
                task.dueTime().toString(QStringLiteral("HH:mm:ss")))};
}

void Launcher::startLater(const TaskRequest &request)
{
    // From the event loop: an alert that the start may show waits there,
    // not inside the launch or the answer to a later start.
    QMetaObject::invokeMethod(
        m_delegate.get(), [this, request] { CommandLineTask(*m_delegate).start(request); }, Qt::QueuedConnection);
}
