#pragma once

#include <QDBusConnection>
#include <QObject>

// logind's word that the machine is about to sleep and that it woke again
// (Manager.PrepareForSleep on the system bus). Without logind nothing
// arrives, and the running task finds a sleep by its clocks alone.
class LogindSleepWatcher : public QObject
{
    Q_OBJECT

public:
    explicit LogindSleepWatcher(const QDBusConnection &bus = QDBusConnection::systemBus(), QObject *parent = nullptr);

signals:
    // True before the machine sleeps, false once it is awake.
    void prepareForSleep(bool sleeping);
};
