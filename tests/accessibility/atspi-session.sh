#!/bin/bash
# Runs a command the way a screen reader meets Morvane: on a private X server
# with a private session bus, where at-spi2-core's bus launcher has started
# the accessibility bus and its registry. Nothing here reaches the machine's
# own buses or display:
#   atspi-session.sh COMMAND...
# The command gets DISPLAY, DBUS_SESSION_BUS_ADDRESS (the private one),
# QT_QPA_PLATFORM=xcb and Qt's bridge switched on.
set -u
run=$(mktemp -d /tmp/morvane-atspi.XXXXXX)
groups=""
# shellcheck disable=SC2086
trap 'kill -- $groups 2>/dev/null; sleep 0.2; kill -KILL -- $groups 2>/dev/null; wait; rm -rf "$run"' EXIT
trap 'exit 1' INT TERM
export HOME=$run/home XDG_CONFIG_HOME=$run/config XDG_CACHE_HOME=$run/cache XDG_DATA_HOME=$run/data \
    XDG_RUNTIME_DIR=$run/runtime DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/morvane-system \
    GSETTINGS_BACKEND=memory
unset DISPLAY WAYLAND_DISPLAY AT_SPI_BUS_ADDRESS
# shellcheck disable=SC2174 # $run is private already; XDG_RUNTIME_DIR must be too.
mkdir -p -m 700 "$HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
# The session bus knows no services but the launcher that is started on it;
# the accessibility bus the launcher starts activates the registry from
# at-spi2-core's own service folder.
printf '<busconfig><listen>unix:dir=%s</listen><auth>EXTERNAL</auth><policy context="default"><allow own="*"/>
<allow send_destination="*"/><allow receive_sender="*"/></policy></busconfig>' "$run" >"$run/bus.conf"

start() { setsid "$@" >>"$run/log" 2>&1 & groups="$groups -$!"; }
until_ok() {
    local i=0
    until "$@" >/dev/null 2>&1; do
        ((i++ < 100)) && sleep 0.1 && continue
        { echo "atspi-session: not ready: $*" && cat "$run/log"; } >&2; exit 1
    done
}
serve() { start "${@:3}" 3>"$run/$1" && until_ok test -s "$run/$1" && export "$1=$2$(head -n 1 "$run/$1")"; }

serve DISPLAY : Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24
serve DBUS_SESSION_BUS_ADDRESS '' dbus-daemon --nofork --print-address=3 --config-file="$run/bus.conf"
start /usr/libexec/at-spi-bus-launcher --launch-immediately
until_ok dbus-send --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress
export QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
"$@"
