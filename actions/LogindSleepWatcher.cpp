#include "actions/LogindSleepWatcher.h"

LogindSleepWatcher::LogindSleepWatcher(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
{
    // The signal needs no delay lock: the task only has to know, not to
    // finish anything before the machine goes down.
    QDBusConnection(bus).connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
        SIGNAL(prepareForSleep(bool)));
}
