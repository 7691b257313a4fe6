#pragma once

#include <chrono>
#include <memory>
#include <string>

struct sd_bus;
struct sd_bus_message;

// A connection to the system or the session bus that lives for one system
// action. Morvane keeps no connection between actions: every action sees the
// services that are on the bus at that moment, and a restarted bus daemon
// never leaves a dead connection behind.
class BusConnection
{
public:
    enum class Bus { System, Session };

    // Long enough for logind or a session manager to accept a request, short
    // enough that a hung service freezes Morvane's window only briefly.
    static constexpr std::chrono::milliseconds DefaultCallTimeout {5000};

    // Opens the bus named by DBUS_SYSTEM_BUS_ADDRESS or
    // DBUS_SESSION_BUS_ADDRESS (or the usual socket when unset). Every call
    // waits at most callTimeout for its answer.
    BusConnection(Bus bus, std::chrono::milliseconds callTimeout);
    ~BusConnection();

    BusConnection(const BusConnection &) = delete;
    BusConnection &operator=(const BusConnection &) = delete;

    // 0 when the bus is open, else the negative errno of opening it.
    int openStatus() const;

    // True when name has an owner now or, with activatable set, when the bus
    // can start its owner on demand. False on any error.
    bool hasService(const char *name, bool activatable);

    // Calls one method and waits for its answer. types and the values after
    // it are those of sd_bus_message_append(); types may be nullptr for a
    // method without arguments. 0 once the service answered without error,
    // else the negative errno of the step that failed (building the message,
    // sending it, the service's error reply, the time-out).
    int call(
        const char *destination, const char *path, const char *interface, const char *member, const char *types, ...);

    // The answer of the last successful call, for reading its values; nullptr
    // when the last call failed.
    sd_bus_message *reply() const;

    // True when the last call failed with the D-Bus error of that name.
    bool lastErrorIs(const char *errorName) const;

    // True when the last call failed because the object, interface, method or
    // property does not exist on the service.
    bool lastErrorIsMissingObject() const;

private:
    struct BusDeleter
    {
        void operator()(sd_bus *bus) const;
    };
    struct MessageDeleter
    {
        void operator()(sd_bus_message *message) const;
    };

    std::unique_ptr<sd_bus, BusDeleter> m_bus;
    std::unique_ptr<sd_bus_message, MessageDeleter> m_reply;
    std::string m_lastErrorName;
    std::chrono::milliseconds m_callTimeout;
    int m_openStatus = 0;
};
