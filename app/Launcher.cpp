#include "app/Launcher.h"

#include "app/Config.h"
#include "actions/LinuxSystemActions.h"
#include "controls/MessageBoxAlertPresenter.h"

#include <QApplication>
#include <QIcon>

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
    QApplication::setWindowIcon(applicationIcon());
}

Launcher::Launcher()
    : m_delegate(&m_window, std::make_unique<LinuxSystemActions>(),
                 std::make_unique<MessageBoxAlertPresenter>(&m_window))
{
    // Queued, so that the window's close event finishes before the loop ends.
    QObject::connect(&m_delegate, &AppDelegate::terminationRequested, &m_delegate,
                     [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

void Launcher::launch()
{
    m_delegate.applicationDidFinishLaunching();
    m_window.show();
}
