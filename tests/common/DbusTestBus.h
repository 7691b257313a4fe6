#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <map>
#include <memory>
#include <sys/types.h>

class QProcess;

// Private dbus-daemons standing in for the system and the session bus, with
// python3-dbusmock services on them, so that a test reaches real daemons but
// never the machine's own buses.
//
// Construction already points DBUS_SYSTEM_BUS_ADDRESS and
// DBUS_SESSION_BUS_ADDRESS (of this process, and so of every process it
// starts afterwards) at sockets that do not exist; startBus() points one of
// them at its own daemon. Create the fixture before any D-Bus call.
//
//     DbusTestBus buses;
//     QVERIFY2(buses.startBus(DbusTestBus::System), qPrintable(buses.errorString()));
//     QVERIFY2(buses.startLogind(), qPrintable(buses.errorString()));
//     ... run the code under test, or start Morvane with QProcess ...
//     QCOMPARE(buses.calls(DbusTestBus::LogindService), QStringList{"PowerOff(false)"});
//
// To make logind refuse, as it does without the right to power off:
//     buses.raiseError(DbusTestBus::LogindService, DbusTestBus::LogindPath,
//                      DbusTestBus::LogindManager, "PowerOff", "b");
//
// Mocks are named by their service name; each runs in its own process. Calls
// read back as "Member(arguments)" with the arguments written as GVariant
// text: "PowerOff(false)", "Logout(uint32 1)", "invokeShortcut('Turn Off Screen')".
// Every method that can fail returns false (or an "error: ..." string) and
// leaves the reason in errorString().
class DbusTestBus
{
public:
    enum Bus { System, Session };

    static const QString LogindService; // org.freedesktop.login1
    static const QString LogindPath; // /org/freedesktop/login1, the Manager
    static const QString LogindManager; // org.freedesktop.login1.Manager
    static const QString LogindSessionPath; // /org/freedesktop/login1/session/auto
    static const QString AccessDenied; // org.freedesktop.DBus.Error.AccessDenied

    DbusTestBus();
    // Stops every mock and daemon that is still running.
    ~DbusTestBus();

    DbusTestBus(const DbusTestBus &) = delete;
    DbusTestBus &operator=(const DbusTestBus &) = delete;

    // Starts a daemon for the bus (again, after stopBus()) and sets its
    // address variable. It has no service directory besides the one of
    // addActivatableMock(): a call to a name nobody owns fails at once.
    bool startBus(Bus bus);
    // Stops the bus's mocks and its daemon. The address stays, pointing at a
    // socket that is gone.
    void stopBus(Bus bus);
    QString address(Bus bus) const;
    bool isBusRunning(Bus bus) const;

    // python3-dbusmock's logind template on the system bus, with a session
    // "auto" so that Session.Terminate on LogindSessionPath is answered.
    bool startLogind();
    // A mock owning service with one object at path implementing interface
    // (add its methods and properties next).
    bool startMock(Bus bus, const QString &service, const QString &path, const QString &interface);
    // Makes service activatable on the bus, as desktop services often are:
    // it has no owner until the first call to it makes the bus start a mock
    // with one object at path whose methods (name and input signature) only
    // return. Call before startBus().
    bool addActivatableMock(Bus bus, const QString &service, const QString &path, const QString &interface,
        const QList<QPair<QString, QString>> &methods);
    // True while the mock runs (for an activatable one: once it was started).
    bool isRunning(const QString &service);
    // Ends the mock and waits until its name has left the bus. An
    // activatable mock stays activatable.
    void stopMock(const QString &service);
    // Stops (SIGSTOP) or continues the mock's process. A stopped mock keeps
    // its name but answers nothing: a hung service.
    bool pauseMock(const QString &service);
    bool resumeMock(const QString &service);

    // Adds (or replaces) a method; code is Python run by dbusmock on each
    // call (see AddMethod of dbusmock), empty for a method that only returns.
    bool addMethod(const QString &service, const QString &path, const QString &interface, const QString &method,
        const QString &inSignature, const QString &outSignature = {}, const QString &code = {});
    // Replaces method by one that refuses every call with errorName.
    bool raiseError(const QString &service, const QString &path, const QString &interface, const QString &method,
        const QString &inSignature, const QString &errorName = AccessDenied);
    // A further object of the mock, without methods or properties.
    bool addObject(const QString &service, const QString &path, const QString &interface);
    // Adds a property; value holds a bool, int, uint or QString.
    bool addProperty(const QString &service, const QString &path, const QString &interface, const QString &name,
        const QVariant &value);
    // The property's current value as GVariant text ("int32 3").
    QString property(const QString &service, const QString &path, const QString &interface, const QString &name);

    // The calls made on the object at path (the mock's main object when
    // path is empty) since it started or since clearCalls(), oldest first.
    QStringList calls(const QString &service, const QString &path = {});
    bool clearCalls(const QString &service, const QString &path = {});

    QString errorString() const;

private:
    struct Mock;

    bool fail(const QString &reason);
    bool startMockProcess(Bus bus, const QString &service, const QString &path, const QStringList &arguments);
    bool waitForOwner(Bus bus, const QString &service, bool owned, QProcess *process);
    bool hasOwner(Bus bus, const QString &service, bool *owned);
    pid_t processOf(const QString &service);
    QString serviceDirectory(Bus bus) const;
    void setNowhere(Bus bus);
    Mock *mock(const QString &service);

    QTemporaryDir m_directory;
    std::unique_ptr<QProcess> m_daemons[2];
    QString m_addresses[2];
    std::map<QString, std::unique_ptr<Mock>> m_mocks;
    QString m_errorString;
};
