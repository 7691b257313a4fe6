#include "actions/WaylandOutputPower.h"

#include "dpms-client-protocol.h"
#include "wlr-output-power-management-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <QtGlobal>

#include <cerrno>
#include <cstring>
#include <list>
#include <memory>
#include <poll.h>

namespace {

constexpr uint32_t KWinOff = ORG_KDE_KWIN_DPMS_MODE_OFF;
constexpr uint32_t WlrOff = ZWLR_OUTPUT_POWER_V1_MODE_OFF;

// One output and what its power object said of it.
struct Output
{
    wl_output *output = nullptr;
    org_kde_kwin_dpms *dpms = nullptr;
    zwlr_output_power_v1 *power = nullptr;
    bool supported = true;
    bool answered = false;
    bool off = false;
};

struct Connection
{
    WaylandOutputPower::Protocol protocol;
    wl_display *display = nullptr;
    wl_registry *registry = nullptr;
    org_kde_kwin_dpms_manager *dpmsManager = nullptr;
    zwlr_output_power_manager_v1 *powerManager = nullptr;
    // A list: the listeners keep pointers to the elements.
    std::list<Output> outputs;

    explicit Connection(WaylandOutputPower::Protocol chosen)
        : protocol(chosen)
    {
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;
    ~Connection()
    {
        for (Output &output : outputs) {
            if (output.dpms)
                org_kde_kwin_dpms_release(output.dpms);
            if (output.power)
                zwlr_output_power_v1_destroy(output.power);
            wl_output_destroy(output.output);
        }
        if (dpmsManager)
            org_kde_kwin_dpms_manager_destroy(dpmsManager);
        if (powerManager)
            zwlr_output_power_manager_v1_destroy(powerManager);
        if (registry)
            wl_registry_destroy(registry);
        if (display) {
            wl_display_flush(display);
            wl_display_disconnect(display);
        }
    }
};

void global(void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t)
{
    auto *connection = static_cast<Connection *>(data);
    if (std::strcmp(interface, wl_output_interface.name) == 0) {
        connection->outputs.emplace_back().output
            = static_cast<wl_output *>(wl_registry_bind(registry, name, &wl_output_interface, 1));
    } else if (connection->protocol == WaylandOutputPower::Protocol::KWinDpms
        && std::strcmp(interface, org_kde_kwin_dpms_manager_interface.name) == 0) {
        connection->dpmsManager = static_cast<org_kde_kwin_dpms_manager *>(
            wl_registry_bind(registry, name, &org_kde_kwin_dpms_manager_interface, 1));
    } else if (connection->protocol == WaylandOutputPower::Protocol::WlrOutputPower
        && std::strcmp(interface, zwlr_output_power_manager_v1_interface.name) == 0) {
        connection->powerManager = static_cast<zwlr_output_power_manager_v1 *>(
            wl_registry_bind(registry, name, &zwlr_output_power_manager_v1_interface, 1));
    }
}

void globalRemove(void *, wl_registry *, uint32_t)
{
}

constexpr wl_registry_listener RegistryListener = {global, globalRemove};

// KWin tells with "supported" whether an output can change its mode at all,
// then its mode, then "done"; it sends mode and done again on every change.
void dpmsSupported(void *data, org_kde_kwin_dpms *, uint32_t supported)
{
    static_cast<Output *>(data)->supported = supported != 0;
}
void dpmsMode(void *data, org_kde_kwin_dpms *, uint32_t mode)
{
    static_cast<Output *>(data)->off = mode == KWinOff;
}
void dpmsDone(void *data, org_kde_kwin_dpms *)
{
    static_cast<Output *>(data)->answered = true;
}

constexpr org_kde_kwin_dpms_listener DpmsListener = {dpmsSupported, dpmsMode, dpmsDone};

// wlroots sends the mode at once and on every change, or "failed" where the
// output cannot be controlled.
void powerMode(void *data, zwlr_output_power_v1 *, uint32_t mode)
{
    auto *output = static_cast<Output *>(data);
    output->off = mode == WlrOff;
    output->answered = true;
}
void powerFailed(void *data, zwlr_output_power_v1 *)
{
    auto *output = static_cast<Output *>(data);
    output->supported = false;
    output->answered = true;
}

constexpr zwlr_output_power_v1_listener PowerListener = {powerMode, powerFailed};

void synced(void *data, wl_callback *, uint32_t)
{
    *static_cast<bool *>(data) = true;
}

constexpr wl_callback_listener SyncListener = {synced};

// Reads and dispatches events until done() holds or the time is up.
template<typename Done> bool dispatchUntil(wl_display *display, std::chrono::milliseconds timeout, Done done)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + timeout;
    while (!done()) {
        while (wl_display_prepare_read(display) != 0) {
            if (wl_display_dispatch_pending(display) < 0)
                return false;
        }
        if (done()) {
            wl_display_cancel_read(display);
            break;
        }
        wl_display_flush(display);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd events = {wl_display_get_fd(display), POLLIN, 0};
        const int ready = left.count() > 0 ? poll(&events, 1, int(left.count())) : 0;
        if (ready <= 0) {
            wl_display_cancel_read(display);
            if (ready < 0 && errno == EINTR)
                continue;
            return false;
        }
        if (wl_display_read_events(display) < 0 || wl_display_dispatch_pending(display) < 0)
            return false;
    }
    return true;
}

} // namespace

WaylandOutputPower::WaylandOutputPower(Protocol protocol, std::chrono::milliseconds timeout)
    : m_protocol(protocol)
    , m_timeout(timeout)
{
}

WaylandOutputPower::Found WaylandOutputPower::ask() const
{
    return run(false);
}

WaylandOutputPower::Found WaylandOutputPower::turnOff() const
{
    return run(true);
}

WaylandOutputPower::Found WaylandOutputPower::run(bool turnOff) const
{
    // Without WAYLAND_DISPLAY libwayland would try "wayland-0", which may be
    // another session's compositor.
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return Found::NoCompositor;
    Connection connection(m_protocol);
    connection.display = wl_display_connect(nullptr);
    if (!connection.display)
        return Found::NoCompositor;
    connection.registry = wl_display_get_registry(connection.display);
    wl_registry_add_listener(connection.registry, &RegistryListener, &connection);
    const auto everyOutput = [&](bool (*holds)(const Output &)) {
        for (const Output &output : connection.outputs) {
            if (!holds(output))
                return false;
        }
        return true;
    };
    const auto everyAnswered = [&] { return everyOutput([](const Output &o) { return o.answered; }); };
    // The globals are all announced once the compositor answers a sync.
    bool synced = false;
    wl_callback *sync = wl_display_sync(connection.display);
    wl_callback_add_listener(sync, &SyncListener, &synced);
    const bool answered = dispatchUntil(connection.display, m_timeout, [&] { return synced; });
    wl_callback_destroy(sync);
    if (!answered)
        return Found::NoCompositor;
    if (!connection.dpmsManager && !connection.powerManager)
        return Found::NoProtocol;
    if (connection.outputs.empty())
        return Found::Unsupported;

    for (Output &output : connection.outputs) {
        if (connection.dpmsManager) {
            output.dpms = org_kde_kwin_dpms_manager_get(connection.dpmsManager, output.output);
            org_kde_kwin_dpms_add_listener(output.dpms, &DpmsListener, &output);
        } else {
            output.power = zwlr_output_power_manager_v1_get_output_power(connection.powerManager, output.output);
            zwlr_output_power_v1_add_listener(output.power, &PowerListener, &output);
        }
    }
    if (!dispatchUntil(connection.display, m_timeout, everyAnswered))
        return Found::NotConfirmed;
    if (!everyOutput([](const Output &o) { return o.supported; }))
        return Found::Unsupported;
    if (!turnOff)
        return Found::Ready;

    // Only the mode events count: a compositor may take the request and
    // leave the output on.
    for (Output &output : connection.outputs) {
        if (output.dpms)
            org_kde_kwin_dpms_set(output.dpms, KWinOff);
        else
            zwlr_output_power_v1_set_mode(output.power, WlrOff);
    }
    const auto offOrFailed = [&] { return everyOutput([](const Output &o) { return o.off || !o.supported; }); };
    dispatchUntil(connection.display, m_timeout, offOrFailed);
    if (!everyOutput([](const Output &o) { return o.supported; }))
        return Found::Unsupported;
    return everyOutput([](const Output &o) { return o.off; }) ? Found::Off : Found::NotConfirmed;
}
