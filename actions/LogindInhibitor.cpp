#include "actions/LogindInhibitor.h"

#include "actions/BusConnection.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <systemd/sd-bus.h>

LogindInhibitor::LogindInhibitor(std::chrono::milliseconds callTimeout)
    : m_callTimeout(callTimeout)
{
}

LogindInhibitor::~LogindInhibitor()
{
    release();
}

int LogindInhibitor::hold(const QString &reason)
{
    release();
    BusConnection system(BusConnection::Bus::System, m_callTimeout);
    int status = system.call("org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
        "Inhibit", "ssss", "idle", "Morvane", reason.toUtf8().constData(), "block");
    if (status < 0)
        return status;
    int answered = -1;
    status = sd_bus_message_read(system.reply(), "h", &answered);
    if (status < 0)
        return status;
    // The answer owns its descriptor and closes it with the message; the
    // copy is close-on-exec, so a script that Morvane runs cannot keep the
    // lock alive after Morvane let it go.
    m_fd = fcntl(answered, F_DUPFD_CLOEXEC, 3);
    return m_fd < 0 ? -errno : 0;
}

void LogindInhibitor::release()
{
    if (m_fd < 0)
        return;
    close(m_fd);
    m_fd = -1;
}
