#include "actions/BusConnection.h"

#include <cstdarg>
#include <cstring>

#include <systemd/sd-bus.h>

namespace {

constexpr char DBusService[] = "org.freedesktop.DBus";
constexpr char DBusPath[] = "/org/freedesktop/DBus";
constexpr char DBusInterface[] = "org.freedesktop.DBus";

// RAII for the error record: sd-bus allocates its name and message.
class BusError
{
public:
    BusError() = default;
    ~BusError() { sd_bus_error_free(&m_error); }
    BusError(const BusError &) = delete;
    BusError &operator=(const BusError &) = delete;

    sd_bus_error *get() { return &m_error; }

private:
    sd_bus_error m_error = SD_BUS_ERROR_NULL;
};

} // namespace

void BusConnection::BusDeleter::operator()(sd_bus *bus) const
{
    // Flushing first so that a request that was queued is not lost when the
    // connection closes right after it.
    sd_bus_flush_close_unref(bus);
}

void BusConnection::MessageDeleter::operator()(sd_bus_message *message) const
{
    sd_bus_message_unref(message);
}

BusConnection::BusConnection(Bus bus, std::chrono::milliseconds callTimeout)
    : m_callTimeout(callTimeout)
{
    // sd_bus_open_*() and not sd_bus_default_*(): the default connections are
    // cached per thread, and Morvane wants a fresh one for every action.
    sd_bus *opened = nullptr;
    m_openStatus = bus == Bus::System ? sd_bus_open_system(&opened) : sd_bus_open_user(&opened);
    if (m_openStatus >= 0) {
        m_openStatus = 0;
        m_bus.reset(opened);
    }
}

BusConnection::~BusConnection() = default;

int BusConnection::openStatus() const
{
    return m_openStatus;
}

bool BusConnection::hasService(const char *name, bool activatable)
{
    if (call(DBusService, DBusPath, DBusInterface, "NameHasOwner", "s", name) < 0)
        return false;
    int hasOwner = 0;
    if (sd_bus_message_read(m_reply.get(), "b", &hasOwner) < 0)
        return false;
    if (hasOwner || !activatable)
        return hasOwner;

    if (call(DBusService, DBusPath, DBusInterface, "ListActivatableNames", nullptr) < 0)
        return false;
    sd_bus_message *names = m_reply.get();
    if (sd_bus_message_enter_container(names, 'a', "s") < 0)
        return false;
    const char *listed = nullptr;
    while (sd_bus_message_read(names, "s", &listed) > 0) {
        if (std::strcmp(listed, name) == 0)
            return true;
    }
    return false;
}

int BusConnection::call(
    const char *destination, const char *path, const char *interface, const char *member, const char *types, ...)
{
    m_reply.reset();
    m_lastErrorName.clear();
    if (!m_bus)
        return m_openStatus;

    sd_bus_message *built = nullptr;
    int status = sd_bus_message_new_method_call(m_bus.get(), &built, destination, path, interface, member);
    if (status < 0)
        return status;
    std::unique_ptr<sd_bus_message, MessageDeleter> message(built);

    if (types && *types) {
        va_list values;
        va_start(values, types);
        status = sd_bus_message_appendv(message.get(), types, values);
        va_end(values);
        if (status < 0)
            return status;
    }

    BusError error;
    sd_bus_message *answer = nullptr;
    const auto timeoutUsec = std::chrono::duration_cast<std::chrono::microseconds>(m_callTimeout).count();
    // sd-bus reads a time-out of 0 as "its own default" (25 s): never pass it.
    status = sd_bus_call(m_bus.get(), message.get(), timeoutUsec > 0 ? uint64_t(timeoutUsec) : 1, error.get(), &answer);
    if (status < 0) {
        if (sd_bus_error_is_set(error.get()))
            m_lastErrorName = error.get()->name;
        return status;
    }
    m_reply.reset(answer);
    return 0;
}

sd_bus_message *BusConnection::reply() const
{
    return m_reply.get();
}

bool BusConnection::lastErrorIs(const char *errorName) const
{
    return m_lastErrorName == errorName;
}

bool BusConnection::lastErrorIsMissingObject() const
{
    return lastErrorIs(SD_BUS_ERROR_UNKNOWN_OBJECT) || lastErrorIs(SD_BUS_ERROR_UNKNOWN_INTERFACE)
        || lastErrorIs(SD_BUS_ERROR_UNKNOWN_METHOD) || lastErrorIs(SD_BUS_ERROR_UNKNOWN_PROPERTY);
}
