# Desktop sessions the program-level benchmarks measure on, sourced by them.
# They are the end-to-end tests' own sessions, started and ended by the same
# code: tests/e2e/x_session.sh (Xvfb with openbox and trayer, here with a
# private session bus as well) and tests/wayland/wl_session.sh (sway headless
# with waybar's tray and a private bus; as root, sway and waybar run as a
# user of their own). Both give the program a clean per-user home.
# session_run PLATFORM FUNCTION runs FUNCTION in a subshell holding the
# platform's session, which ends with the subshell; FUNCTION's status is
# session_run's. A session that cannot start is no failure of the program:
# the benchmark's not_measured REASON records why, and session_run returns 0.
# Inside, $bin is the folder holding orvane and orvanectl, and the helpers
# below act on a program's windows by its pid.
# PLATFORMS ("x11 wayland") picks the desktops a benchmark measures on.
# Usage: . bench/sessions.sh (with $bin set)
# shellcheck shell=bash disable=SC2030,SC2031,SC2034,SC2154 source-path=SCRIPTDIR

session_platforms=${PLATFORMS:-x11 wayland}
session_tests=$(cd "$(dirname "${BASH_SOURCE[0]}")/../tests" && pwd)
# The main window and preview_floor's, side by side, wholly on the screen.
x_width=2600 x_height=1000 wl_width=2600 wl_height=1000
main_title="Orvane Keyboard Settings"

# CPU time of every thread of PID so far, in nanoseconds, and its context
# switches (each one a wake-up or a preemption).
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f", s }'; }
switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/ctxt_switches/ { s += $2 } END { print s + 0 }'; }

# Ends a program the benchmark started and waits for it.
end_pid() {
    kill "$1" 2>/dev/null
    wait "$1" 2>/dev/null
}

# The platform's name in figures and tables.
session_label() { [ "$1" = x11 ] && echo X11 || echo Wayland; }

session_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "$tool missing" && return 1; }
    done
}

session_run() (
    session_platform=$1
    local missing
    case $session_platform in
    x11) missing=$(session_tools Xvfb openbox trayer xdotool xprop scrot dbus-daemon) ;;
    wayland)
        missing=$(session_tools sway swaymsg waybar grim jq dbus-daemon dbus-send) &&
            { [ -n "$(find /usr/lib* -path '*qt6/plugins/platforms/libqwayland*' -print -quit 2>/dev/null)" ] ||
                missing="Qt's wayland platform (qt6-wayland) missing"; }
        ;;
    *) missing="no such platform: $session_platform" ;;
    esac
    [ -z "$missing" ] || session_down "$missing"
    if [ "$session_platform" = x11 ]; then
        # shellcheck source=../tests/e2e/x_session.sh
        . "$session_tests/e2e/x_session.sh"
    else
        # shellcheck source=../tests/wayland/wl_session.sh
        . "$session_tests/wayland/wl_session.sh"
    fi
    # The harness ends the script on a failure; before the session is up
    # that is a desktop that could not start.
    session_up=
    fail() {
        [ -n "$session_up" ] || session_down "$*"
        echo "$(session_label "$session_platform"): $*" >&2
        session_logs >&2
        exit 1
    }
    if [ "$session_platform" = x11 ]; then
        session_bus
        start_x
        unset WAYLAND_DISPLAY
        export QT_QPA_PLATFORM=xcb
    else
        start_wayland
    fi
    wait_limit=20
    session_up=1
    "$2"
)

session_down() {
    echo "$(session_label "$session_platform") not measured: $1"
    session_logs >&2
    not_measured "$1"
    exit 0
}

# X11 desktops have a session bus too: the program's tray icon and
# accessibility use it, and one of the caller's own would lead the icon to
# the caller's desktop.
session_bus() {
    dbus-daemon --session --nofork --print-address=3 3>"$home/bus" >"$home/bus.log" 2>&1 &
    pids+=($!)
    until_true test -s "$home/bus" || fail "the session bus did not start"
    DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$home/bus")
    export DBUS_SESSION_BUS_ADDRESS
}

# What the desktop said, for a run that went wrong.
session_logs() {
    local log
    for log in "${home:-}"/openbox.log "${home:-}"/bus.log "${wl_dir:-}"/sway.log "${wl_dir:-}"/waybar.log \
        "${wl_dir:-}"/bus.log; do
        [ -s "$log" ] && { echo "--- $(basename "$log")"; tail -n 20 "$log"; }
    done
    return 0
}

# The window id of PID's widest shown window (titled TITLE, when given).
session_window() {
    if [ "$session_platform" = x11 ]; then
        local w best="" most=0 WIDTH
        for w in $(xdotool search --onlyvisible --pid "$1" ${2:+--name "^$2\$"} 2>/dev/null); do
            WIDTH=0
            eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)"
            [ "$WIDTH" -gt "$most" ] && most=$WIDTH best=$w
        done
        echo "$best"
    else
        orvane=$1 windows | jq -rs --arg title "${2:-}" \
            'map(select(.visible and ($title == "" or .name == $title))) | max_by(.rect.width) | .id // empty'
    fi
}
# Whether PID shows a window (titled TITLE, when given).
session_shown() { [ -n "$(session_window "$@")" ]; }
# X Y W H of PID's window.
session_geometry() {
    local w
    w=$(session_window "$@")
    [ -n "$w" ] || return 1
    if [ "$session_platform" = x11 ]; then
        local X Y WIDTH HEIGHT
        eval "$(xdotool getwindowgeometry --shell "$w")"
        echo "$X $Y $WIDTH $HEIGHT"
    else
        orvane=$1 geometry "$w"
    fi
}
# Moves PID's window to X,Y of the screen.
session_place() {
    local w
    w=$(session_window "$1")
    [ -n "$w" ] || return 1
    if [ "$session_platform" = x11 ]; then
        xdotool windowmove "$w" "$2" "$3"
    else
        swaymsg "[con_id=$w] floating enable, move position $2 $3" >/dev/null
    fi
}
# A picture of X Y W H of the screen into FILE (a PNG).
session_picture() {
    if [ "$session_platform" = x11 ]; then
        scrot -o -a "$2,$3,$4,$5" "$1"
    else
        grim -g "$2,$3 $4x$5" "$1"
    fi
}

# PID's icon is in the tray: docked into trayer, or registered with waybar's
# watcher by a bus connection of PID (an icon of an earlier run may still be
# listed a moment after that run ended).
session_docked() {
    if [ "$session_platform" = x11 ]; then
        orvane=$1 tray_icon_found
        return
    fi
    local item
    for item in $(tray_items); do
        dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
            org.freedesktop.DBus.GetConnectionUnixProcessID "string:$item" 2>/dev/null | grep -qw "uint32 $1" && return 0
    done
    return 1
}
