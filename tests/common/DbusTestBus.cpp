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
const QString DbusTestBus::AccessDenied = QStringLiteral("org.freedesktop.DBus.Error.AccessDenied");

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

QString errnoText(int status)
{
    return QString::fromLocal8Bit(std::strerror(-status));
}

// The fixture's own client connection, to the address it started and not to
// whatever the environment says at the moment.
BusPointer connectTo(const QString &address, QString *error)
{
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
        return {};
    }
    return bus;
}

using Appender = std::function<int(sd_bus_message *)>;

// One method call; the reply is kept for reading when reply is not null.
bool callOn(const QString &address, const QString &service, const QString &path, const char *interface,
    const char *member, const Appender &append, MessagePointer *reply, QString *error)
{
    BusPointer bus = connectTo(address, error);
    if (!bus)
        return false;
    sd_bus_message *built = nullptr;
    int status = sd_bus_message_new_method_call(
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

// One complete value of the message, in GVariant's text notation with the
// type of every number written out.
QString readValue(sd_bus_message *message)
{
    char type = 0;
    const char *contents = nullptr;
    if (sd_bus_message_peek_type(message, &type, &contents) <= 0)
        return QStringLiteral("<unreadable>");

    if (type == SD_BUS_TYPE_VARIANT || type == SD_BUS_TYPE_ARRAY || type == SD_BUS_TYPE_STRUCT
        || type == SD_BUS_TYPE_DICT_ENTRY) {
        if (sd_bus_message_enter_container(message, type, contents) < 0)
            return QStringLiteral("<unreadable>");
        QStringList items;
        while (sd_bus_message_at_end(message, false) == 0) {
            items.append(readValue(message));
            if (items.constLast() == QLatin1String("<unreadable>"))
                break;
        }
        sd_bus_message_exit_container(message);
        switch (type) {
        case SD_BUS_TYPE_VARIANT:
            return items.value(0);
        case SD_BUS_TYPE_ARRAY:
            return QLatin1Char('[') + items.join(QStringLiteral(", ")) + QLatin1Char(']');
        case SD_BUS_TYPE_DICT_ENTRY:
            return items.join(QStringLiteral(": "));
        default:
            return QLatin1Char('(') + items.join(QStringLiteral(", ")) + QLatin1Char(')');
        }
    }

    union {
        int boolean;
        uint8_t byte;
        int16_t int16;
        uint16_t uint16;
        int32_t int32;
        uint32_t uint32;
        int64_t int64;
        uint64_t uint64;
        double number;
        const char *text;
    } value;
    if (sd_bus_message_read_basic(message, type, &value) < 0)
        return QStringLiteral("<unreadable>");
    switch (type) {
    case SD_BUS_TYPE_BOOLEAN:
        return value.boolean ? QStringLiteral("true") : QStringLiteral("false");
    case SD_BUS_TYPE_BYTE:
        return QStringLiteral("byte %1").arg(value.byte);
    case SD_BUS_TYPE_INT16:
        return QStringLiteral("int16 %1").arg(value.int16);
    case SD_BUS_TYPE_UINT16:
        return QStringLiteral("uint16 %1").arg(value.uint16);
    case SD_BUS_TYPE_INT32:
        return QStringLiteral("int32 %1").arg(value.int32);
    case SD_BUS_TYPE_UINT32:
        return QStringLiteral("uint32 %1").arg(value.uint32);
    case SD_BUS_TYPE_INT64:
        return QStringLiteral("int64 %1").arg(value.int64);
    case SD_BUS_TYPE_UINT64:
        return QStringLiteral("uint64 %1").arg(value.uint64);
    case SD_BUS_TYPE_DOUBLE:
        return QString::number(value.number);
    case SD_BUS_TYPE_STRING:
        return QLatin1Char('\'') + QString::fromUtf8(value.text) + QLatin1Char('\'');
    case SD_BUS_TYPE_OBJECT_PATH:
        return QStringLiteral("objectpath '%1'").arg(QString::fromUtf8(value.text));
    case SD_BUS_TYPE_SIGNATURE:
        return QStringLiteral("signature '%1'").arg(QString::fromUtf8(value.text));
    }
    return QStringLiteral("handle");
}

} // namespace

struct DbusTestBus::Mock
{
    Bus bus = Session;
    QString path;
    // None for an activatable mock: the bus starts it.
    std::unique_ptr<QProcess> process;
    bool paused = false;
};

DbusTestBus::DbusTestBus()
{
    // Before anything else can read them: from here on nothing in this
    // process, nor anything it starts, finds the machine's buses.
    setNowhere(System);
    setNowhere(Session);
    if (!m_directory.isValid())
        m_errorString = QStringLiteral("cannot create a temporary directory");
}

DbusTestBus::~DbusTestBus()
{
    stopBus(System);
    stopBus(Session);
}

void DbusTestBus::setNowhere(Bus bus)
{
    m_addresses[bus] = QStringLiteral("unix:path=%1/no-%2-bus").arg(m_directory.path(), QLatin1String(BusNames[bus]));
    qputenv(AddressVariables[bus], m_addresses[bus].toUtf8());
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

QString DbusTestBus::address(Bus bus) const
{
    return m_addresses[bus];
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
    QFile config(configPath);
    if (!config.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(QStringLiteral("cannot write %1").arg(configPath));
    // Anyone may own and call anything, as on a session bus. No includes of
    // the machine's configuration, and no service directory but the
    // fixture's own: a name that nobody owns fails at once.
    config.write(QStringLiteral(R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
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
                             : QString())
                     .toUtf8());
    config.close();

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
    m_daemons[bus]->terminate();
    if (!m_daemons[bus]->waitForFinished(5000)) {
        m_daemons[bus]->kill();
        m_daemons[bus]->waitForFinished();
    }
    m_daemons[bus].reset();
}

bool DbusTestBus::startLogind()
{
    if (!startMockProcess(System, LogindService, LogindPath,
            {QStringLiteral("--system"), QStringLiteral("--template"), QStringLiteral("logind")}))
        return false;
    const QByteArray session("auto");
    const QByteArray seat("seat0");
    const QByteArray user("morvane-test");
    const uint32_t uid = getuid();
    return callOn(
        m_addresses[System], LogindService, LogindPath, MockInterface, "AddSession",
        [&](sd_bus_message *m) {
            return sd_bus_message_append(m, "ssusb", session.constData(), seat.constData(), uid, user.constData(), 1);
        },
        nullptr, &m_errorString);
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

bool DbusTestBus::hasOwner(Bus bus, const QString &service, bool *owned)
{
    const QByteArray name = service.toUtf8();
    MessagePointer reply;
    if (!callOn(
            m_addresses[bus], QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            "org.freedesktop.DBus", "NameHasOwner",
            [&](sd_bus_message *m) { return sd_bus_message_append(m, "s", name.constData()); }, &reply, &m_errorString))
        return false;
    int answer = 0;
    if (sd_bus_message_read(reply.get(), "b", &answer) < 0)
        return fail(QStringLiteral("unexpected answer to NameHasOwner"));
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
    QFile templateFile(templatePath);
    if (!templateFile.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(QStringLiteral("cannot write %1").arg(templatePath));
    templateFile.write(
        QStringLiteral("BUS_NAME = '%1'\nMAIN_OBJ = '%2'\nMAIN_IFACE = '%3'\nSYSTEM_BUS = %4\n\n"
                       "def load(mock, parameters):\n    mock.AddMethods(MAIN_IFACE, [%5])\n")
            .arg(service, path, interface, bus == System ? QStringLiteral("True") : QStringLiteral("False"), methodList)
            .toUtf8());
    templateFile.close();

    // The daemon hands its own environment on, from before its address was
    // known, so the mock it starts is told where the bus is.
    const QString socket = m_directory.filePath(QLatin1String(BusNames[bus]) + QStringLiteral("-bus-socket"));
    QFile serviceFile(QDir(serviceDirectory(bus)).filePath(service + QStringLiteral(".service")));
    if (!serviceFile.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(QStringLiteral("cannot write %1").arg(serviceFile.fileName()));
    serviceFile.write(QStringLiteral("[D-BUS Service]\nName=%1\nExec=/usr/bin/env %2=unix:path=%3 "
                                     "/usr/bin/python3 -m dbusmock %4 --logfile /dev/null --template %5\n")
                          .arg(service, QLatin1String(AddressVariables[bus]), socket,
                              bus == System ? QStringLiteral("--system") : QStringLiteral("--session"), templatePath)
                          .toUtf8());
    serviceFile.close();

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
    const QByteArray name = service.toUtf8();
    MessagePointer reply;
    if (!callOn(
            m_addresses[target->bus], QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            "org.freedesktop.DBus", "GetConnectionUnixProcessID",
            [&](sd_bus_message *m) { return sd_bus_message_append(m, "s", name.constData()); }, &reply, &m_errorString))
        return 0;
    uint32_t pid = 0;
    sd_bus_message_read(reply.get(), "u", &pid);
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
        const Bus bus = it->second->bus;
        const bool paused = it->second->paused;
        it->second->paused = false;
        if (!isRunning(service))
            return;
        const pid_t pid = processOf(service);
        if (pid > 0 && (!paused || ::kill(pid, SIGCONT) == 0) && ::kill(pid, SIGTERM) == 0)
            waitForOwner(bus, service, false, nullptr);
        return;
    }
    const std::unique_ptr<Mock> stopped = std::move(it->second);
    m_mocks.erase(it);
    if (stopped->paused)
        ::kill(pid_t(stopped->process->processId()), SIGCONT);
    stopped->process->terminate();
    if (!stopped->process->waitForFinished(5000)) {
        stopped->process->kill();
        stopped->process->waitForFinished();
    }
    // The daemon drops the name when it notices the closed socket; wait for
    // that, so that the next step of a test sees the service gone.
    if (m_daemons[stopped->bus])
        waitForOwner(stopped->bus, service, false, nullptr);
}

bool DbusTestBus::pauseMock(const QString &service)
{
    Mock *paused = mock(service);
    const pid_t pid = processOf(service);
    if (!paused || pid <= 0)
        return false;
    if (::kill(pid, SIGSTOP) != 0)
        return fail(QStringLiteral("cannot stop the mock for %1").arg(service));
    paused->paused = true;
    return true;
}

bool DbusTestBus::resumeMock(const QString &service)
{
    Mock *resumed = mock(service);
    const pid_t pid = processOf(service);
    if (!resumed || pid <= 0)
        return false;
    if (::kill(pid, SIGCONT) != 0)
        return fail(QStringLiteral("cannot continue the mock for %1").arg(service));
    resumed->paused = false;
    return true;
}

bool DbusTestBus::addMethod(const QString &service, const QString &path, const QString &interface,
    const QString &method, const QString &inSignature, const QString &outSignature, const QString &code)
{
    const Mock *target = mock(service);
    if (!target)
        return false;
    const QByteArray values[]
        = {interface.toUtf8(), method.toUtf8(), inSignature.toUtf8(), outSignature.toUtf8(), code.toUtf8()};
    return callOn(
        m_addresses[target->bus], service, path, MockInterface, "AddMethod",
        [&](sd_bus_message *m) {
            return sd_bus_message_append(m, "sssss", values[0].constData(), values[1].constData(),
                values[2].constData(), values[3].constData(), values[4].constData());
        },
        nullptr, &m_errorString);
}

bool DbusTestBus::raiseError(const QString &service, const QString &path, const QString &interface,
    const QString &method, const QString &inSignature, const QString &errorName)
{
    const QString code
        = QStringLiteral("raise dbus.exceptions.DBusException('refused by the test', name='%1')").arg(errorName);
    return addMethod(service, path, interface, method, inSignature, {}, code);
}

bool DbusTestBus::addObject(const QString &service, const QString &path, const QString &interface)
{
    const Mock *target = mock(service);
    if (!target)
        return false;
    const QByteArray newPath = path.toUtf8();
    const QByteArray newInterface = interface.toUtf8();
    return callOn(
        m_addresses[target->bus], service, target->path, MockInterface, "AddObject",
        [&](sd_bus_message *m) {
            return sd_bus_message_append(m, "ssa{sv}a(ssss)", newPath.constData(), newInterface.constData(), 0, 0);
        },
        nullptr, &m_errorString);
}

bool DbusTestBus::addProperty(
    const QString &service, const QString &path, const QString &interface, const QString &name, const QVariant &value)
{
    const Mock *target = mock(service);
    if (!target)
        return false;
    const QByteArray propertyInterface = interface.toUtf8();
    const QByteArray propertyName = name.toUtf8();
    const QByteArray text = value.toString().toUtf8();
    const auto append = [&](sd_bus_message *m) {
        const char *i = propertyInterface.constData();
        const char *n = propertyName.constData();
        switch (value.typeId()) {
        case QMetaType::Bool:
            return sd_bus_message_append(m, "ssv", i, n, "b", int(value.toBool()));
        case QMetaType::Int:
            return sd_bus_message_append(m, "ssv", i, n, "i", int32_t(value.toInt()));
        case QMetaType::UInt:
            return sd_bus_message_append(m, "ssv", i, n, "u", uint32_t(value.toUInt()));
        case QMetaType::QString:
            return sd_bus_message_append(m, "ssv", i, n, "s", text.constData());
        }
        return -EINVAL;
    };
    return callOn(
        m_addresses[target->bus], service, path, MockInterface, "AddProperty", append, nullptr, &m_errorString);
}

QString DbusTestBus::property(
    const QString &service, const QString &path, const QString &interface, const QString &name)
{
    const Mock *target = mock(service);
    if (!target)
        return QStringLiteral("error: ") + m_errorString;
    const QByteArray propertyInterface = interface.toUtf8();
    const QByteArray propertyName = name.toUtf8();
    MessagePointer reply;
    if (!callOn(
            m_addresses[target->bus], service, path, "org.freedesktop.DBus.Properties", "Get",
            [&](sd_bus_message *m) {
                return sd_bus_message_append(m, "ss", propertyInterface.constData(), propertyName.constData());
            },
            &reply, &m_errorString))
        return QStringLiteral("error: ") + m_errorString;
    return readValue(reply.get());
}

QStringList DbusTestBus::calls(const QString &service, const QString &path)
{
    const Mock *target = mock(service);
    if (!target)
        return {QStringLiteral("error: ") + m_errorString};
    MessagePointer reply;
    if (!callOn(m_addresses[target->bus], service, path.isEmpty() ? target->path : path, MockInterface, "GetCalls", {},
            &reply, &m_errorString))
        return {QStringLiteral("error: ") + m_errorString};

    // a(tsav): time, member, arguments
    QStringList calls;
    sd_bus_message *m = reply.get();
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
        calls.append(
            QString::fromUtf8(member) + QLatin1Char('(') + arguments.join(QStringLiteral(", ")) + QLatin1Char(')'));
    }
    return calls;
}

bool DbusTestBus::clearCalls(const QString &service, const QString &path)
{
    const Mock *target = mock(service);
    if (!target)
        return false;
    return callOn(m_addresses[target->bus], service, path.isEmpty() ? target->path : path, MockInterface, "ClearCalls",
        {}, nullptr, &m_errorString);
}
