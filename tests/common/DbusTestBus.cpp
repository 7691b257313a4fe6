#include "tests/common/DbusTestBus.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <systemd/sd-bus.h>

#include <csignal>
#include <cstring>
#include <functional>
#include <unistd.h>

const QString DbusTestBus::LogindService = QStringLiteral("org.freedesktop.login1");
const QString DbusTestBus::LogindPath = QStringLiteral("/org/freedesktop/login1");
const QString DbusTestBus::LogindManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString DbusTestBus::LogindSessionPath = QStringLiteral("/org/freedesktop/login1/session/auto");

namespace {

constexpr char MockInterface[] = "org.freedesktop.DBus.Mock";
constexpr uint64_t FixtureCallTimeoutUsec = 10 * 1000 * 1000;
constexpr int StartTimeoutMs = 15000;

const char *const AddressVariables[] = {"DBUS_SYSTEM_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS"};
const char *const BusNames[] = {"system", "session"};

struct BusDeleter
{
    void operator()(sd_bus *bus) const { sd_bus_flush_close_unref(bus); }
};
using BusPointer = std::unique_ptr<sd_bus, BusDeleter>;

struct MessageDeleter
{
    void operator()(sd_bus_message *message) const { sd_bus_message_unref(message); }
};
using MessagePointer = std::unique_ptr<sd_bus_message, MessageDeleter>;

void endProcess(QProcess *process)
{
    process->terminate();
    if (!process->waitForFinished(5000)) {
        process->kill();
        process->waitForFinished();
    }
}

bool writeText(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) >= 0;
}

QString errnoText(int status)
{
    return QString::fromLocal8Bit(std::strerror(-status));
}

// One method call; the reply is kept when reply is not null.
bool callOn(const QString &address, const QString &service, const QString &path, const char *interface,
    const char *member, const std::function<int(sd_bus_message *)> &append, MessagePointer *reply, QString *error)
{
    // A connection of its own, to the address the fixture started rather
    // than whatever the environment says at the moment.
    sd_bus *opened = nullptr;
    int status = sd_bus_new(&opened);
    BusPointer bus(opened);
    if (status >= 0)
        status = sd_bus_set_address(bus.get(), address.toUtf8().constData());
    if (status >= 0)
        status = sd_bus_set_bus_client(bus.get(), 1);
    if (status >= 0)
        status = sd_bus_start(bus.get());
    if (status < 0) {
        *error = QStringLiteral("cannot connect to %1: %2").arg(address, errnoText(status));
        return false;
    }
    sd_bus_message *built = nullptr;
    status = sd_bus_message_new_method_call(
        bus.get(), &built, service.toUtf8().constData(), path.toUtf8().constData(), interface, member);
    MessagePointer message(built);
    if (status >= 0 && append)
        status = append(message.get());
    if (status < 0) {
        *error = QStringLiteral("cannot build %1: %2").arg(QLatin1String(member), errnoText(status));
        return false;
    }
    sd_bus_error busError = SD_BUS_ERROR_NULL;
    sd_bus_message *answer = nullptr;
    status = sd_bus_call(bus.get(), message.get(), FixtureCallTimeoutUsec, &busError, &answer);
    MessagePointer answerHolder(answer);
    if (status < 0) {
        *error
            = QStringLiteral("%1 on %2 %3 failed: %4 %5")
                  .arg(QLatin1String(member), service, path, QString::fromUtf8(busError.name ? busError.name : "errno"),
                      busError.message ? QString::fromUtf8(busError.message) : errnoText(status));
        sd_bus_error_free(&busError);
        return false;
    }
    if (reply)
        *reply = std::move(answerHolder);
    return true;
}

// One complete value in GVariant's text notation, numbers with their type;
// only the types Morvane's services use are spelled out.
QString readValue(sd_bus_message *message)
{
    char type = 0;
    const char *contents = nullptr;
    if (sd_bus_message_peek_type(message, &type, &contents) <= 0)
        return QStringLiteral("<unreadable>");
    if (type == SD_BUS_TYPE_VARIANT) {
        if (sd_bus_message_enter_container(message, type, contents) < 0)
            return QStringLiteral("<unreadable>");
        const QString value = readValue(message);
        sd_bus_message_exit_container(message);
        return value;
    }
    union {
        int boolean;
        int32_t int32;
        uint32_t uint32;
        const char *text;
    } value;
    if (!std::strchr("bius", type))
        return sd_bus_message_skip(message, nullptr) < 0 ? QStringLiteral("<unreadable>")
                                                        : QStringLiteral("<%1>").arg(QLatin1Char(type));
    if (sd_bus_message_read_basic(message, type, &value) < 0)
        return QStringLiteral("<unreadable>");
    switch (type) {
    case SD_BUS_TYPE_BOOLEAN:
        return value.boolean ? QStringLiteral("true") : QStringLiteral("false");
    case SD_BUS_TYPE_INT32:
        return QStringLiteral("int32 %1").arg(value.int32);
    case SD_BUS_TYPE_UINT32:
        return QStringLiteral("uint32 %1").arg(value.uint32);
    }
    return QLatin1Char('\'') + QString::fromUtf8(value.text) + QLatin1Char('\'');
}

} // namespace

struct DbusTestBus::Mock
{
    Bus bus = Session;
    QString path;
    // None for an activatable mock: the bus starts it.
    std::unique_ptr<QProcess> process;
};

DbusTestBus::DbusTestBus()
{
    // Before anything else can read them: from here on nothing in this
    // process, nor anything it starts, finds the machine's buses.
    for (const Bus bus : {System, Session}) {
        m_addresses[bus]
            = QStringLiteral("unix:path=%1/no-%2-bus").arg(m_directory.path(), QLatin1String(BusNames[bus]));
        qputenv(AddressVariables[bus], m_addresses[bus].toUtf8());
    }
    if (!m_directory.isValid())
        m_errorString = QStringLiteral("cannot create a temporary directory");
}

DbusTestBus::~DbusTestBus()
{
    stopBus(System);
    stopBus(Session);
}

bool DbusTestBus::fail(const QString &reason)
{
    m_errorString = reason;
    return false;
}

QString DbusTestBus::errorString() const
{
    return m_errorString;
}

bool DbusTestBus::isBusRunning(Bus bus) const
{
    return bool(m_daemons[bus]);
}

bool DbusTestBus::startBus(Bus bus)
{
    if (!m_directory.isValid())
        return fail(QStringLiteral("cannot create a temporary directory"));
    if (m_daemons[bus])
        return fail(QStringLiteral("the %1 bus runs already").arg(QLatin1String(BusNames[bus])));

    const QString name = QLatin1String(BusNames[bus]);
    const QString configPath = m_directory.filePath(name + QStringLiteral(".conf"));
    // Anyone may own and call anything, as on a session bus. No includes of
    // the machine's configuration, and no service directory but the
    // fixture's own: a name that nobody owns fails at once.
    if (!writeText(configPath, QStringLiteral(R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=%1</listen>
  <auth>EXTERNAL</auth>
%2  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)")
                     .arg(m_directory.filePath(name + QStringLiteral("-bus-socket")),
                         QFileInfo::exists(serviceDirectory(bus))
                             ? QStringLiteral("  <servicedir>%1</servicedir>\n").arg(serviceDirectory(bus))
                             : QString())))
        return fail(QStringLiteral("cannot write %1").arg(configPath));

    QString program = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (program.isEmpty())
        return fail(QStringLiteral("dbus-daemon is not installed"));
    auto daemon = std::make_unique<QProcess>();
    // Its complaints (such as not raising the file limit when run as root)
    // matter only when it does not start; they are shown then.
    daemon->setStandardErrorFile(m_directory.filePath(name + QStringLiteral("-bus.log")));
    daemon->start(program,
        {QStringLiteral("--config-file=") + configPath, QStringLiteral("--nofork"),
            QStringLiteral("--print-address=1")});
    const QDeadlineTimer deadline(StartTimeoutMs);
    QByteArray printed;
    while (!printed.contains('\n') && daemon->state() != QProcess::NotRunning && !deadline.hasExpired()) {
        daemon->waitForReadyRead(100);
        printed += daemon->readAllStandardOutput();
    }
    if (!printed.contains('\n')) {
        daemon->kill();
        daemon->waitForFinished();
        QFile log(m_directory.filePath(name + QStringLiteral("-bus.log")));
        log.open(QIODevice::ReadOnly);
        return fail(QStringLiteral("dbus-daemon for the %1 bus did not start: %2")
                        .arg(name, QString::fromLocal8Bit(log.readAll().trimmed())));
    }
    m_addresses[bus] = QString::fromUtf8(printed.left(printed.indexOf('\n')).trimmed());
    qputenv(AddressVariables[bus], m_addresses[bus].toUtf8());
    m_daemons[bus] = std::move(daemon);
    return true;
}

QString DbusTestBus::serviceDirectory(Bus bus) const
{
    return m_directory.filePath(QLatin1String(BusNames[bus]) + QStringLiteral("-services"));
}

void DbusTestBus::stopBus(Bus bus)
{
    QStringList services;
    for (const auto &[service, mock] : m_mocks) {
        if (mock->bus == bus)
            services.append(service);
    }
    for (const QString &service : std::as_const(services))
        stopMock(service);
    if (!m_daemons[bus])
        return;
    endProcess(m_daemons[bus].get());
    m_daemons[bus].reset();
}

bool DbusTestBus::startLogind()
{
    if (!startMockProcess(System, LogindService, LogindPath,
            {QStringLiteral("--system"), QStringLiteral("--template"), QStringLiteral("logind")}))
        return false;
    const uint32_t uid = getuid();
    return callMock(LogindService, {}, MockInterface, "AddSession", [uid](sd_bus_message *m) {
        return sd_bus_message_append(m, "ssusb", "auto", "seat0", uid, "morvane-test", 1);
    });
}

bool DbusTestBus::startMock(Bus bus, const QString &service, const QString &path, const QString &interface)
{
    const QString busOption = bus == System ? QStringLiteral("--system") : QStringLiteral("--session");
    return startMockProcess(bus, service, path, {busOption, service, path, interface});
}

bool DbusTestBus::startMockProcess(Bus bus, const QString &service, const QString &path, const QStringList &arguments)
{
    if (!m_daemons[bus])
        return fail(QStringLiteral("start the %1 bus before %2").arg(QLatin1String(BusNames[bus]), service));
    if (m_mocks.count(service))
        return fail(QStringLiteral("%1 runs already").arg(service));

    auto mock = std::make_unique<Mock>();
    mock->bus = bus;
    mock->path = path;
    mock->process = std::make_unique<QProcess>();
    // dbusmock logs every call on standard output; the calls are read back
    // over the bus instead.
    mock->process->setStandardOutputFile(QProcess::nullDevice());
    mock->process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // The mock finds the bus through the address variables, which point at
    // this fixture's daemons (or nowhere) since construction.
    mock->process->start(
        QStringLiteral("/usr/bin/python3"), QStringList {QStringLiteral("-m"), QStringLiteral("dbusmock")} + arguments);
    if (!mock->process->waitForStarted())
        return fail(QStringLiteral("cannot start python3-dbusmock for %1").arg(service));
    if (!waitForOwner(bus, service, true, mock->process.get())) {
        mock->process->kill();
        mock->process->waitForFinished();
        return false;
    }
    m_mocks[service] = std::move(mock);
    return true;
}

bool DbusTestBus::askBus(Bus bus, const char *member, const QString &service, const char *type, void *answer)
{
    const QByteArray name = service.toUtf8();
    MessagePointer reply;
    if (!callOn(
            m_addresses[bus], QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            "org.freedesktop.DBus", member,
            [&](sd_bus_message *m) { return sd_bus_message_append(m, "s", name.constData()); }, &reply, &m_errorString))
        return false;
    if (sd_bus_message_read(reply.get(), type, answer) < 0)
        return fail(QStringLiteral("unexpected answer to %1").arg(QLatin1String(member)));
    return true;
}

bool DbusTestBus::hasOwner(Bus bus, const QString &service, bool *owned)
{
    int answer = 0;
    if (!askBus(bus, "NameHasOwner", service, "b", &answer))
        return false;
    *owned = answer;
    return true;
}

bool DbusTestBus::waitForOwner(Bus bus, const QString &service, bool owned, QProcess *process)
{
    const QDeadlineTimer deadline(StartTimeoutMs);
    while (!deadline.hasExpired()) {
        bool ownedNow = false;
        if (!hasOwner(bus, service, &ownedNow))
            return false;
        if (ownedNow == owned)
            return true;
        if (owned && process && process->state() == QProcess::NotRunning)
            return fail(QStringLiteral("the mock for %1 ended before owning its name").arg(service));
        QThread::msleep(20);
    }
    return fail(QStringLiteral("%1 did not %2 the bus in time")
                    .arg(service, owned ? QStringLiteral("join") : QStringLiteral("leave")));
}

bool DbusTestBus::addActivatableMock(Bus bus, const QString &service, const QString &path, const QString &interface,
    const QList<QPair<QString, QString>> &methods)
{
    if (m_daemons[bus])
        return fail(QStringLiteral("make %1 activatable before starting its bus").arg(service));
    if (m_mocks.count(service))
        return fail(QStringLiteral("%1 is known already").arg(service));
    if (!QDir().mkpath(serviceDirectory(bus)))
        return fail(QStringLiteral("cannot create %1").arg(serviceDirectory(bus)));

    // A dbusmock template: what the mock is, built when the bus starts it.
    QString methodList;
    for (const auto &[name, inSignature] : methods)
        methodList += QStringLiteral("('%1', '%2', '', ''), ").arg(name, inSignature);
    const QString templatePath = m_directory.filePath(QStringLiteral("activatable-%1.py").arg(service));
    if (!writeText(templatePath,
            QStringLiteral("BUS_NAME = '%1'\nMAIN_OBJ = '%2'\nMAIN_IFACE = '%3'\nSYSTEM_BUS = %4\n\n"
                           "def load(mock, parameters):\n    mock.AddMethods(MAIN_IFACE, [%5])\n")
                .arg(service, path, interface, bus == System ? QStringLiteral("True") : QStringLiteral("False"),
                    methodList)))
        return fail(QStringLiteral("cannot write %1").arg(templatePath));

    // The daemon hands its own environment on, from before its address was
    // known, so the mock it starts is told where the bus is.
    const QString socket = m_directory.filePath(QLatin1String(BusNames[bus]) + QStringLiteral("-bus-socket"));
    const QString servicePath = QDir(serviceDirectory(bus)).filePath(service + QStringLiteral(".service"));
    if (!writeText(servicePath,
            QStringLiteral("[D-BUS Service]\nName=%1\nExec=/usr/bin/env %2=unix:path=%3 "
                           "/usr/bin/python3 -m dbusmock %4 --logfile /dev/null --template %5\n")
                .arg(service, QLatin1String(AddressVariables[bus]), socket,
                    bus == System ? QStringLiteral("--system") : QStringLiteral("--session"), templatePath)))
        return fail(QStringLiteral("cannot write %1").arg(servicePath));

    auto mock = std::make_unique<Mock>();
    mock->bus = bus;
    mock->path = path;
    m_mocks[service] = std::move(mock);
    return true;
}

bool DbusTestBus::isRunning(const QString &service)
{
    const auto it = m_mocks.find(service);
    if (it == m_mocks.end())
        return false;
    if (it->second->process)
        return true;
    bool owned = false;
    return m_daemons[it->second->bus] && hasOwner(it->second->bus, service, &owned) && owned;
}

pid_t DbusTestBus::processOf(const QString &service)
{
    const Mock *target = mock(service);
    if (!target)
        return 0;
    if (target->process)
        return pid_t(target->process->processId());
    // The bus started this one itself; it is found by its name.
    uint32_t pid = 0;
    askBus(target->bus, "GetConnectionUnixProcessID", service, "u", &pid);
    return pid_t(pid);
}

DbusTestBus::Mock *DbusTestBus::mock(const QString &service)
{
    const auto it = m_mocks.find(service);
    if (it == m_mocks.end()) {
        fail(QStringLiteral("no mock for %1").arg(service));
        return nullptr;
    }
    return it->second.get();
}

void DbusTestBus::stopMock(const QString &service)
{
    const auto it = m_mocks.find(service);
    if (it == m_mocks.end())
        return;
    if (!it->second->process) {
        // It stays activatable: only the running instance ends.
        // A paused mock is continued first, or it would not hear the end.
        const pid_t pid = isRunning(service) ? processOf(service) : 0;
        if (pid > 0 && ::kill(pid, SIGCONT) == 0 && ::kill(pid, SIGTERM) == 0)
            waitForOwner(it->second->bus, service, false, nullptr);
        return;
    }
    const std::unique_ptr<Mock> stopped = std::move(it->second);
    m_mocks.erase(it);
    ::kill(pid_t(stopped->process->processId()), SIGCONT);
    endProcess(stopped->process.get());
    // The daemon drops the name when it notices the closed socket; wait for
    // that, so that the next step of a test sees the service gone.
    if (m_daemons[stopped->bus])
        waitForOwner(stopped->bus, service, false, nullptr);
}

bool DbusTestBus::pauseMock(const QString &service)
{
    return signalMock(service, SIGSTOP);
}

bool DbusTestBus::resumeMock(const QString &service)
{
    return signalMock(service, SIGCONT);
}

bool DbusTestBus::signalMock(const QString &service, int signal)
{
    const pid_t pid = processOf(service);
    if (pid > 0 && ::kill(pid, signal) != 0)
        return fail(QStringLiteral("cannot signal the mock for %1").arg(service));
    return pid > 0;
}

bool DbusTestBus::callMock(const QString &service, const QString &path, const char *interface, const char *member,
    const std::function<int(sd_bus_message *)> &append, sd_bus_message **reply)
{
    const Mock *target = mock(service);
    MessagePointer answer;
    if (!target
        || !callOn(m_addresses[target->bus], service, path.isEmpty() ? target->path : path, interface, member, append,
            &answer, &m_errorString))
        return false;
    if (reply)
        *reply = answer.release();
    return true;
}

bool DbusTestBus::addMethod(const QString &service, const QString &path, const QString &interface,
    const QString &method, const QString &inSignature, const QString &outSignature, const QString &code)
{
    const QByteArray values[]
        = {interface.toUtf8(), method.toUtf8(), inSignature.toUtf8(), outSignature.toUtf8(), code.toUtf8()};
    return callMock(service, path, MockInterface, "AddMethod", [&](sd_bus_message *m) {
        return sd_bus_message_append(m, "sssss", values[0].constData(), values[1].constData(), values[2].constData(),
            values[3].constData(), values[4].constData());
    });
}

bool DbusTestBus::raiseError(const QString &service, const QString &path, const QString &interface,
    const QString &method, const QString &inSignature, const QString &errorName)
{
    const QString code
        = QStringLiteral("raise dbus.exceptions.DBusException('refused by the test', name='%1')").arg(errorName);
    return addMethod(service, path, interface, method, inSignature, {}, code);
}

bool DbusTestBus::addProperty(
    const QString &service, const QString &path, const QString &interface, const QString &name, int value)
{
    const QByteArray texts[] = {interface.toUtf8(), name.toUtf8()};
    return callMock(service, path, MockInterface, "AddProperty", [&](sd_bus_message *m) {
        return sd_bus_message_append(m, "ssv", texts[0].constData(), texts[1].constData(), "i", int32_t(value));
    });
}

QString DbusTestBus::property(
    const QString &service, const QString &path, const QString &interface, const QString &name)
{
    const QByteArray texts[] = {interface.toUtf8(), name.toUtf8()};
    sd_bus_message *reply = nullptr;
    if (!callMock(
            service, path, "org.freedesktop.DBus.Properties", "Get",
            [&](sd_bus_message *m) { return sd_bus_message_append(m, "ss", texts[0].constData(), texts[1].constData()); },
            &reply))
        return QStringLiteral("error: ") + m_errorString;
    const MessagePointer holder(reply);
    return readValue(reply);
}

QStringList DbusTestBus::calls(const QString &service, const QString &path)
{
    sd_bus_message *m = nullptr;
    if (!callMock(service, path, MockInterface, "GetCalls", {}, &m))
        return {QStringLiteral("error: ") + m_errorString};
    const MessagePointer holder(m);

    // a(tsav): time, member, arguments
    QStringList calls;
    if (sd_bus_message_enter_container(m, 'a', "(tsav)") < 0)
        return {QStringLiteral("error: unexpected reply to GetCalls")};
    while (sd_bus_message_enter_container(m, 'r', "tsav") > 0) {
        uint64_t time = 0;
        const char *member = nullptr;
        sd_bus_message_read(m, "ts", &time, &member);
        QStringList arguments;
        sd_bus_message_enter_container(m, 'a', "v");
        while (sd_bus_message_at_end(m, false) == 0) {
            arguments.append(readValue(m));
            if (arguments.constLast() == QLatin1String("<unreadable>"))
                break;
        }
        sd_bus_message_exit_container(m);
        sd_bus_message_exit_container(m);
        calls.append(QString::fromUtf8(member) + QLatin1Char('(') + arguments.join(QStringLiteral(", ")) + QLatin1Char(')'));
    }
    return calls;
}

bool DbusTestBus::clearCalls(const QString &service, const QString &path)
{
    return callMock(service, path, MockInterface, "ClearCalls", {});
}
