#pragma once

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <map>
#include <memory>
#include <set>

// Whatever the environment says, no test reaches the machine's own buses:
// both addresses point nowhere before main(), until a PrivateBus is made.
inline const bool MachineBusesHidden = qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/morvane-system")
    && qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/morvane-session");

// A private dbus-daemon standing in for the system or the session bus, with
// python3-dbusmock services on it. While it lives, DBUS_SYSTEM_BUS_ADDRESS or
// DBUS_SESSION_BUS_ADDRESS points at it, afterwards back where it pointed.
// Nothing on it is activatable: a call to a name nobody owns fails at once.
//
//     PrivateBus system(PrivateBus::System);
//     system.startMock(Logind, {"--template", "logind"});
//     QVERIFY(system.waitForMocks());
//     QVERIFY(system.addMethod(Logind, LogindPath, Manager, "PowerOff", "b"));
//     ... run the code under test ...
//     QCOMPARE(system.takeCalls(), QStringList {LogindPath + " PowerOff(dbus.Boolean(False))"});
class PrivateBus
{
public:
    enum Kind { System, Session };

    explicit PrivateBus(Kind kind)
        : m_variable(kind == System ? "DBUS_SYSTEM_BUS_ADDRESS" : "DBUS_SESSION_BUS_ADDRESS")
        , m_previousAddress(qgetenv(m_variable))
    {
        const QString config = m_directory.filePath("bus.conf");
        if (QFile file(config); file.open(QIODevice::WriteOnly))
            file.write(Config.arg(m_directory.path()).toUtf8());
        m_daemon.start("dbus-daemon", {"--nofork", "--print-address", "--config-file=" + config});
        while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(5000)) { }
        m_address = QString::fromUtf8(m_daemon.readLine().trimmed());
        qputenv(m_variable, m_address.toUtf8());
        QDBusConnection::connectToBus(m_address, m_address);
    }

    ~PrivateBus() { stop(), qputenv(m_variable, m_previousAddress); }

    // Ends the mocks and the daemon, which removes its socket. Each is waited
    // for (a QProcess kills and waits for its process as it goes), so that no
    // test leaves a process of its own behind.
    void stop()
    {
        m_mocks.clear();
        QDBusConnection::disconnectFromBus(m_address);
        m_daemon.terminate();
        m_daemon.waitForFinished();
    }

    // This test's connection to the bus.
    QDBusConnection bus() const { return QDBusConnection(m_address); }

    // Starts `python3 -m dbusmock arguments...` (a template, or a name, path
    // and interface) for service. Mocks start side by side; waitForMocks()
    // returns once each owns its name, false after ten seconds.
    void startMock(const QString &service, const QStringList &arguments)
    {
        auto &process = m_mocks[service] = std::make_unique<QProcess>();
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start("/usr/bin/python3", QStringList {"-m", "dbusmock"} + arguments);
    }

    bool waitForMocks()
    {
        return std::all_of(m_mocks.begin(), m_mocks.end(), [this](const auto &mock) {
            const QString &service = mock.first;
            return QTest::qWaitFor(
                [&] { return !(m_uniqueNames[service] = bus().interface()->serviceOwner(service)).isEmpty(); }, 10000);
        });
    }

    // SIGSTOP: the mock keeps its name but answers nothing. SIGCONT.
    void signal(const QString &service, int signal) { ::kill(m_mocks.at(service)->processId(), signal); }

    // Runs Python code in the mock as a method of its object at path: self
    // is that object, args the arguments, ret the answer, of outSignature.
    // Unlike other calls, it is not logged.
    QDBusMessage run(const QString &service, const QString &path, const QString &code, const QString &outSignature = {})
    {
        call(service, path, "AddMethod", {MockInterface, "Run", "", outSignature, "self.call_log.pop()\n" + code});
        return call(service, path, "Run", {});
    }

    // run() at the one object of a mock named after its service
    // (/org/freedesktop/login1), whose ret is a list of strings.
    QStringList strings(const QString &service, const QString &code)
    {
        return run(service, '/' + QString(service).replace('.', '/'), code, "as").arguments().value(0).toStringList();
    }

    // The mock gives its name up or takes it back.
    bool own(const QString &service, const QString &path, bool owned)
    {
        return ok(
            run(service, path, QString("self.connection.%1_name('%2')").arg(owned ? "request" : "release", service)));
    }

    // Adds or replaces a method that takes exactly the argument types of
    // signature (InvalidArgs otherwise, as from a real service), then runs
    // code as run() does.
    bool addMethod(const QString &service, const QString &path, const QString &interface, const QString &method,
        const QString &signature, const QString &code = {}, const QString &outSignature = {})
    {
        const QString check = QString("if dbus.lowlevel.Message.guess_signature(*m_args) != '%1':\n    ").arg(signature)
            + raise("org.freedesktop.DBus.Error.InvalidArgs");
        m_changed.insert({service, path});
        return ok(call(service, path, "AddMethod", {interface, method, signature, outSignature, check + code}));
    }

    // Code that fails the call with the D-Bus error name.
    static QString raise(const QString &name) { return "raise dbus.DBusException('x', name='" + name + "')\n"; }

    // The calls since the last time on each object that addMethod() changed,
    // as "path Member(repr, ...)" of the arguments:
    // "/org/gnome/SessionManager Logout(dbus.UInt32(1))".
    QStringList takeCalls()
    {
        QStringList calls;
        for (const auto &[service, path] : m_changed) {
            const QDBusMessage reply = run(service, path, TakeLog, "as");
            for (const QString &call : ok(reply) ? reply.arguments().value(0).toStringList() : QStringList {"no log"})
                calls << path + ' ' + call;
        }
        return calls;
    }

private:
    static constexpr char MockInterface[] = "org.freedesktop.DBus.Mock";
    static constexpr char TakeLog[]
        = "ret = [m + '(' + ', '.join(map(repr, a)) + ')' for t, m, a in self.call_log]\nself.call_log.clear()";
    // No service directory, and a socket file that goes with the daemon.
    inline static const QString Config = R"(<busconfig><listen>unix:dir=%1</listen><auth>EXTERNAL</auth><policy
        context="default"><allow own="*"/><allow send_destination="*"/><allow receive_sender="*"/></policy></busconfig>)";

    static bool ok(const QDBusMessage &reply) { return reply.type() == QDBusMessage::ReplyMessage; }

    // Reaches the mock whether or not it owns its name.
    QDBusMessage call(const QString &service, const QString &path, const QString &method, const QVariantList &arguments)
    {
        auto message = QDBusMessage::createMethodCall(m_uniqueNames.value(service), path, MockInterface, method);
        message.setArguments(arguments);
        return bus().call(message, QDBus::Block, 5000);
    }

    const char *m_variable;
    QByteArray m_previousAddress;
    QString m_address;
    QTemporaryDir m_directory;
    QProcess m_daemon;
    std::map<QString, std::unique_ptr<QProcess>> m_mocks;
    QMap<QString, QString> m_uniqueNames;
    std::set<std::pair<QString, QString>> m_changed;
};
