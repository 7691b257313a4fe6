#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <memory>
#include <sys/types.h>

class QProcess;
struct sd_bus_message;

// Private dbus-daemons standing in for the system and the session bus, with
// python3-dbusmock services on them, so that a test reaches real daemons but
// never the machine's own buses. Create it before any D-Bus call: its
// constructor points DBUS_SYSTEM_BUS_ADDRESS and DBUS_SESSION_BUS_ADDRESS
// (of this process and all it starts) at sockets that do not exist, and
// startBus() points one of them at its own daemon.
//
//     DbusTestBus buses;
//     QVERIFY2(buses.startBus(DbusTestBus::System), qPrintable(buses.errorString()));
//     QVERIFY2(buses.startLogind(), qPrintable(buses.errorString()));
//     ... run the code under test ...
//     QCOMPARE(buses.calls(DbusTestBus::LogindService), QStringList{"PowerOff(false)"});
//
// Mocks are named by their service and each runs in its own process. Calls
// read back as "Member(arguments)", arguments in GVariant text:
// "PowerOff(false)", "Logout(uint32 1)", "invokeShortcut('Turn Off Screen')".
// What fails returns false (or an "error: ..." string), the reason in
// errorString().
class DbusTestBus
{
public:
    enum Bus { System, Session };

    static const QString LogindService; // org.freedesktop.login1
    static const QString LogindPath; // the Manager
    static const QString LogindManager; // org.freedesktop.login1.Manager
    static const QString LogindSessionPath; // the session "auto"

    DbusTestBus();
    ~DbusTestBus();
    DbusTestBus(const DbusTestBus &) = delete;
    DbusTestBus &operator=(const DbusTestBus &) = delete;

    // A daemon for the bus (again, after stopBus()). No service directory
    // but that of addActivatableMock(): a call to a name nobody owns fails
    // at once.
    bool startBus(Bus bus);
    // Stops the bus's mocks and daemon; the address points at a gone socket.
    void stopBus(Bus bus);
    bool isBusRunning(Bus bus) const;

    // dbusmock's logind template on the system bus, with a session "auto"
    // so that Session.Terminate on LogindSessionPath is answered.
    bool startLogind();
    // A mock owning service with one object at path implementing interface.
    bool startMock(Bus bus, const QString &service, const QString &path, const QString &interface);
    // A service the bus starts on the first call to it, whose methods (name,
    // input signature) only return. Call before startBus().
    bool addActivatableMock(Bus bus, const QString &service, const QString &path, const QString &interface,
        const QList<QPair<QString, QString>> &methods);
    // True while the mock runs (an activatable one: once started).
    bool isRunning(const QString &service);
    // Ends the mock and waits until its name has left the bus; an
    // activatable one stays activatable.
    void stopMock(const QString &service);
    // SIGSTOP or SIGCONT: a stopped mock keeps its name but answers nothing.
    bool pauseMock(const QString &service);
    bool resumeMock(const QString &service);

    // Adds or replaces a method; code is Python that dbusmock runs on each
    // call, empty for one that only returns.
    bool addMethod(const QString &service, const QString &path, const QString &interface, const QString &method,
        const QString &inSignature, const QString &outSignature = {}, const QString &code = {});
    // Replaces method by one that refuses every call with errorName.
    bool raiseError(const QString &service, const QString &path, const QString &interface, const QString &method,
        const QString &inSignature,
        const QString &errorName = QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"));
    // An int32 property.
    bool addProperty(const QString &service, const QString &path, const QString &interface, const QString &name,
        int value);
    // The property's value as GVariant text ("int32 3").
    QString property(const QString &service, const QString &path, const QString &interface, const QString &name);

    // Calls on the object at path (empty: the mock's main object) since it
    // started or since clearCalls(), oldest first.
    QStringList calls(const QString &service, const QString &path = {});
    bool clearCalls(const QString &service, const QString &path = {});

    QString errorString() const;

private:
    struct Mock;

    bool fail(const QString &reason);
    bool startMockProcess(Bus bus, const QString &service, const QString &path, const QStringList &arguments);
    // A call on the mock's object at path (empty: its main object).
    bool callMock(const QString &service, const QString &path, const char *interface, const char *member,
        const std::function<int(sd_bus_message *)> &append, sd_bus_message **reply = nullptr);
    bool askBus(Bus bus, const char *member, const QString &service, const char *type, void *answer);
    bool waitForOwner(Bus bus, const QString &service, bool owned, QProcess *process);
    bool hasOwner(Bus bus, const QString &service, bool *owned);
    bool signalMock(const QString &service, int signal);
    pid_t processOf(const QString &service);
    QString serviceDirectory(Bus bus) const;
    Mock *mock(const QString &service);

    QTemporaryDir m_directory;
    std::unique_ptr<QProcess> m_daemons[2];
    QString m_addresses[2];
    std::map<QString, std::unique_ptr<Mock>> m_mocks;
    QString m_errorString;
};
