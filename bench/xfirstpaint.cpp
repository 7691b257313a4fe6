// Watches an X server from outside for the first pixels any new top-level
// window receives, so that the real build/morvane can be timed to its first
// paint without a line of its code knowing.
//
//   xfirstpaint [timeout-ms]
//
// Prints "ready" once it watches, then, when the first window created after
// that is drawn into, "first-paint <ns> <width>x<height>" with the
// CLOCK_MONOTONIC time and the size of the first damaged area. Exits 1 on
// time-out. Every new top-level window gets a damage watch as soon as it is
// created, before it can be mapped, so no drawing goes unseen; windows that
// are never mapped (Qt's helper windows) are never drawn into.

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

// A window may be gone before its damage watch is made; that is no error
// worth ending for.
int ignoreError(Display *, XErrorEvent *)
{
    return 0;
}

long long monotonicNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (long long)now.tv_sec * 1000000000 + now.tv_nsec;
}

} // namespace

int main(int argc, char *argv[])
{
    const long long timeoutNs = (argc > 1 ? std::atoll(argv[1]) : 10000) * 1000000LL;
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "xfirstpaint: cannot open the display\n");
        return 2;
    }
    int damageEvent = 0;
    int damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr, "xfirstpaint: the X server has no DAMAGE extension\n");
        return 2;
    }

    XSetErrorHandler(ignoreError);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    std::printf("ready\n");
    std::fflush(stdout);

    const long long deadline = monotonicNs() + timeoutNs;
    pollfd connection {ConnectionNumber(display), POLLIN, 0};
    while (monotonicNs() < deadline) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == CreateNotify) {
                XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
                XFlush(display);
            } else if (event.type == damageEvent + XDamageNotify) {
                const long long now = monotonicNs();
                const auto *damage = reinterpret_cast<const XDamageNotifyEvent *>(&event);
                std::printf("first-paint %lld %dx%d\n", now, damage->area.width, damage->area.height);
                std::fflush(stdout);
                XCloseDisplay(display);
                return 0;
            }
        }
        poll(&connection, 1, 10);
    }
    std::fprintf(stderr, "xfirstpaint: no window was drawn into in time\n");
    XCloseDisplay(display);
    return 1;
}
