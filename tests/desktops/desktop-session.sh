#!/bin/bash
# Starts one desktop's real services headless, on private buses and a private
# display, runs a command among them and ends them again:
#   desktop-session DESKTOP COMMAND...
# The command gets DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM, XDG_CURRENT_DESKTOP,
# both bus addresses, private HOME and XDG folders, and MORVANE_DESKTOP_RUN: a
# folder holding monitor.log (dbus-monitor of the session bus from the moment
# the desktop is ready), session-manager (where the session speaks XSMP, the
# SESSION_MANAGER it hands the programs it starts) and, once the session
# manager or compositor has ended, exit (its exit status). A desktop whose
# packages are missing is not started: the script says SKIP, as ctest reads it.
# The Cinnamon schemas are kept in MORVANE_DESKTOP_CACHE between runs.
set -u
desktop=$1
run=$(mktemp -d /tmp/morvane-desktop.XXXXXX)
# Every process started is a process group of its own, ended as a whole.
groups=""
# shellcheck disable=SC2086
trap 'kill -- $groups 2>/dev/null; sleep 0.5; kill -KILL -- $groups 2>/dev/null; wait; rm -rf "$run"' EXIT
trap 'exit 1' INT TERM
export MORVANE_DESKTOP_RUN=$run HOME=$run/home XDG_CONFIG_HOME=$run/config XDG_CACHE_HOME=$run/cache QT_QPA_PLATFORM=xcb \
    XDG_DATA_HOME=$run/data XDG_RUNTIME_DIR=$run/runtime DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/morvane-system
unset DISPLAY WAYLAND_DISPLAY SESSION_MANAGER XDG_CURRENT_DESKTOP
# shellcheck disable=SC2174 # $run is private already; XDG_RUNTIME_DIR must be too.
mkdir -p -m 700 "$HOME" "$XDG_CONFIG_HOME/autostart" "$XDG_CACHE_HOME" "$XDG_DATA_HOME/applications" "$XDG_RUNTIME_DIR"
# The sessions start nothing of the machine's autostart folder.
for entry in /etc/xdg/autostart/*.desktop; do
    printf '[Desktop Entry]\nType=Application\nName=-\nHidden=true\n' >"$XDG_CONFIG_HOME/autostart/${entry##*/}"
done
# Buses without service files, so that a missing name fails at once.
printf '<busconfig><listen>unix:dir=%s</listen><auth>EXTERNAL</auth><policy context="default"><allow own="*"/>
<allow send_destination="*"/><allow receive_sender="*"/></policy></busconfig>' "$run" >"$run/bus.conf"

skip() { echo "SKIP   : $desktop: $*"; exit 0; }
installed() {
    # shellcheck disable=SC2016
    if dpkg-query -W -f='${db:Status-Status}\n' "$@" 2>&1 | grep -qvx installed; then skip "not all of $* installed"; fi
}
start() { setsid "$@" >>"$run/log" 2>&1 & groups="$groups -$!"; }
# The session manager or compositor, whose exit status lands in $run/exit.
# shellcheck disable=SC2016 # for sh -c
main() { start sh -c '"$@"; echo $? >"$0"' "$run/exit" "$@" && manager=$!; }
# Waits up to 30 s for a command to succeed, while the main process runs.
until_ok() {
    local i=0
    until "$@" >/dev/null 2>&1; do
        ((i++ < 300)) && [ ! -e "$run/exit" ] && sleep 0.1 && continue
        { echo "desktop-session: $desktop not ready: $*" && cat "$run/log"; } >&2; exit 1
    done
}
# owned NAME [--system]
# shellcheck disable=SC2317 # run through until_ok
owned() { dbus-send ${2:+"$2"} --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.GetNameOwner "string:$1"; }
# serve VARIABLE PREFIX COMMAND...: a server that writes its address to fd 3,
# which VARIABLE gets after PREFIX.
serve() { start "${@:3}" 3>"$run/$1" && until_ok test -s "$run/$1" && export "$1=$2$(head -n 1 "$run/$1")"; }
xvfb() { serve DISPLAY : Xvfb -displayfd 3 -nolisten tcp; }
bus() { serve "$1" '' dbus-daemon --nofork --print-address=3 --config-file="$run/bus.conf"; }
# session XDG_CURRENT_DESKTOP COMMAND...: a session manager on Xvfb.
session() { xvfb && export XDG_CURRENT_DESKTOP=$1 && main "${@:2}"; }
# The xfconf daemon, which the XFCE programs read their settings from.
xfconfd() { start "$(sed -n 's/^Exec=//p' /usr/share/dbus-1/services/org.xfce.Xfconf.service)" && until_ok owned org.xfce.Xfconf; }
# dbusmock's logind on a system bus of its own.
logind() {
    bus DBUS_SYSTEM_BUS_ADDRESS && start /usr/bin/python3 -m dbusmock --system --template logind
    until_ok owned org.freedesktop.login1 --system
}
# gnome-session's and cinnamon-session's session "morvane", needing COMPONENTS.
# session_file PROGRAM DESKTOP COMPONENTS
session_file() {
    mkdir -p "$XDG_CONFIG_HOME/$1/sessions"
    printf '[%s Session]\nName=Morvane\nRequiredComponents=%s\n' "$2" "$3" >"$XDG_CONFIG_HOME/$1/sessions/morvane.session"
}
# Saves the X session manager's address in session-manager, as a program the
# session manager started finds it in its environment.
# shellcheck disable=SC2016
xsmp() { until_ok sh -c 'for pid in $(pgrep -s "$0"); do tr "\0" "\n" </proc/$pid/environ; done 2>/dev/null \
    | sed -n "s/^SESSION_MANAGER=//p" | grep -m 1 . >"$1"' "$manager" "$run/session-manager"; }
wayland() { until_ok test -S "$XDG_RUNTIME_DIR/wayland-0" && export WAYLAND_DISPLAY=wayland-0 QT_QPA_PLATFORM=wayland; }
weston=(weston --backend=headless-backend.so --socket=wayland-0)
weston_xwayland() {
    main "${weston[@]}" --xwayland
    until_ok grep -q 'xserver listening on display :' "$run/log"
    # shellcheck disable=SC2155
    export DISPLAY=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$run/log") WAYLAND_DISPLAY=wayland-0
}

bus DBUS_SESSION_BUS_ADDRESS
case $desktop in
xfce)
    installed xfce4-session
    xfconfd
    # A failsafe session of xfsettingsd alone (with no client to answer,
    # xfce4-session never ends), and no agents, which would outlive it.
    xfconf-query -c xfce4-session -p /sessions/Failsafe/Count -n -t int -s 1
    xfconf-query -c xfce4-session -p /sessions/Failsafe/Client0_Command -n -t string -s xfsettingsd --force-array
    xfconf-query -c xfce4-session -p /startup/ssh-agent/enabled -n -t bool -s false
    xfconf-query -c xfce4-session -p /startup/gpg-agent/enabled -n -t bool -s false
    session XFCE xfce4-session
    until_ok sh -c 'dbus-send --print-reply --dest=org.xfce.SessionManager /org/xfce/SessionManager \
        org.xfce.Session.Manager.ListClients | grep -q "object path"' && xsmp ;;
lxqt) installed lxqt-session && session LXQt lxqt-session && until_ok owned org.lxqt.session ;;
mate) installed mate-session-manager && session MATE mate-session && until_ok owned org.gnome.SessionManager && xsmp ;;
gnome)
    # gnome-session refuses to start without logind on the system bus.
    installed gnome-session-bin python3-dbusmock && logind
    session_file gnome-session GNOME ''
    session GNOME gnome-session --builtin --session=morvane && until_ok owned org.gnome.SessionManager ;;
cinnamon)
    # cinnamon-session wants one component at least, and schemas of packages
    # that are not installed.
    installed cinnamon-session
    export GSETTINGS_SCHEMA_DIR=${MORVANE_DESKTOP_CACHE:-$run}/cinnamon-schemas
    [ -s "$GSETTINGS_SCHEMA_DIR/gschemas.compiled" ] || (mkdir -p "$GSETTINGS_SCHEMA_DIR" \
        && cd "$GSETTINGS_SCHEMA_DIR" && apt-get download cinnamon-settings-daemon cinnamon-common >>"$run/log" 2>&1 \
        && for deb in ./*.deb; do dpkg-deb -x "$deb" unpacked; done \
        && glib-compile-schemas --targetdir=. unpacked/usr/share/glib-2.0/schemas && rm -rf ./*.deb unpacked) \
        || skip "the Cinnamon schemas could not be fetched"
    session_file cinnamon-session Cinnamon morvane-idle
    printf '[Desktop Entry]\nType=Application\nName=Idle\nExec=sleep infinity\n' \
        >"$XDG_DATA_HOME/applications/morvane-idle.desktop"
    session X-Cinnamon cinnamon-session --session=morvane && until_ok owned org.gnome.SessionManager ;;
mutter-wayland)
    installed mutter qt6-wayland && main mutter --headless --wayland --no-x11 --virtual-monitor 1280x720
    until_ok owned org.gnome.Mutter.DisplayConfig && wayland ;;
mutter-x11) installed mutter && xvfb && main mutter --x11 && until_ok owned org.gnome.Mutter.DisplayConfig ;;
weston) installed weston qt6-wayland && main "${weston[@]}" && wayland ;;
weston-xwayland)
    # Morvane's window is an X client in the Wayland session.
    installed weston xwayland && weston_xwayland ;;
# Display Sleep through the compositors' own power protocols. The client's
# protocol traffic (WAYLAND_DEBUG) goes to wayland.log in MORVANE_DESKTOP_RUN.
kwin-wayland)
    installed kwin-wayland qt6-wayland
    # kwin_wayland carries a file capability; where the container does not
    # grant it, exec fails. A copy without it, seen at its own path (KWin
    # loads its platform plugin only there), in a mount namespace of its own.
    kwin=(/usr/bin/kwin_wayland)
    if ! "${kwin[@]}" --version >/dev/null 2>&1; then
        cp /usr/bin/kwin_wayland "$run/kwin_wayland"
        # shellcheck disable=SC2016 # for sh -c
        kwin=(unshare -m sh -c 'mount --bind "$0" /usr/bin/kwin_wayland && exec /usr/bin/kwin_wayland "$@"' \
            "$run/kwin_wayland")
    fi
    main "${kwin[@]}" --virtual --no-lockscreen --socket=wayland-0 && wayland && export WAYLAND_DEBUG=1 ;;
sway)
    # sway refuses to run as root: it runs as nobody, in a runtime folder of
    # its own that the tests reach by its absolute path (the run folder only
    # lets it through).
    installed sway qt6-wayland
    sway_run=$run/sway && mkdir -m 700 "$sway_run" && chown nobody:nogroup "$sway_run" && chmod o+x "$run"
    main env HOME="$sway_run" XDG_RUNTIME_DIR="$sway_run" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
        setpriv --reuid=nobody --regid=nogroup --clear-groups sway --config /dev/null
    until_ok compgen -G "$sway_run/wayland-?"
    # shellcheck disable=SC2155
    export WAYLAND_DISPLAY=$(compgen -G "$sway_run/wayland-?") QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=1 ;;
weston-powerdevil)
    # KDE's power service on a compositor that cannot turn its outputs off.
    # Both are Qt 5 programs, shown on the compositor's X server.
    installed weston xwayland powerdevil libkf5globalaccel-bin && weston_xwayland
    QT_QPA_PLATFORM=xcb start kglobalaccel5 && until_ok owned org.kde.kglobalaccel
    QT_QPA_PLATFORM=xcb start /usr/lib/x86_64-linux-gnu/libexec/org_kde_powerdevil
    until_ok owned org.kde.Solid.PowerManagement ;;
tray-xfce | tray-none)
    # A tray, or none, and logind's mock for what a task does at its end.
    installed python3-dbusmock && logind && xvfb
    if [ "$desktop" = tray-xfce ]; then
        installed xfce4-panel
        install -D -m 644 -t "$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml" "$(dirname "$0")/xfce4-panel.xml"
        xfconfd
        # Its status tray is the StatusNotifierWatcher and host; it comes up
        # a few seconds after the panel.
        main xfce4-panel
        until_ok sh -c 'dbus-send --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
            org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
            string:IsStatusNotifierHostRegistered | grep -q "boolean true"'
    fi ;;
*) echo "desktop-session: unknown desktop $desktop" >&2 && exit 2 ;;
esac
# shellcheck disable=SC2016
start sh -c 'exec dbus-monitor >"$0"' "$run/monitor.log"
until_ok test -s "$run/monitor.log"
# The protocol lines (WAYLAND_DEBUG), each "[time] request or event", apart
# from the rest.
"${@:2}" 2>"$run/wayland.log"
status=$?
grep -v '^\[' "$run/wayland.log" >&2
exit "$status"
