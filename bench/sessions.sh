# Desktop sessions the program-level benchmarks measure on, sourced by them.
# One session at a time per script, each with its own display or socket, its
# own runtime folder and its own D-Bus session bus:
#   x11:     Xvfb (-displayfd) with trayer as the tray host, as this user;
#   wayland: sway headless (pixman renderer) with waybar's tray as the
#            StatusNotifierItem host. sway refuses to run as root, so as root
#            the session and every program in it run as the user orvane-wl.
# After session_open PLATFORM: as_session runs a program inside the session
# and launch starts one in the background, session_shown / session_docked /
# session_place / session_picture act on a program's window, session_close
# ends it all. A session that cannot start leaves the reason in session_why.
# PLATFORMS ("x11 wayland") picks the desktops a benchmark measures on.
# Usage: . bench/sessions.sh

session_platforms=${PLATFORMS:-x11 wayland}
session_user=orvane-wl
session_pids=()
session_env=()
session_why=

# CPU time of every thread of PID so far, in nanoseconds, and its context
# switches (each one a wake-up or a preemption).
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f", s }'; }
switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/ctxt_switches/ { s += $2 } END { print s + 0 }'; }

# Waits up to $1 tenths of a second for the command after it to succeed.
wait_for() {
    local tries=$1
    shift
    for _ in $(seq "$tries"); do
        "$@" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

# The command line that runs a program inside the session, into $prefix.
session_prefix() {
    prefix=(env -i "${session_env[@]}")
    if as_other_user; then prefix=(setpriv --reuid="$session_user" --regid="$session_user" --init-groups "${prefix[@]}"); fi
}
as_other_user() { [ "$session_platform" = wayland ] && [ "$(id -u)" = 0 ]; }
as_session() {
    local prefix
    session_prefix
    "${prefix[@]}" "$@"
}
# Starts a program in the session in the background, its pid in $launched
# (the program's own: nothing forks between).
launch() {
    local prefix
    session_prefix
    "${prefix[@]}" "$@" &
    launched=$!
}

# A folder the session's programs may write to, with all it holds.
session_folder() {
    mkdir -p "$1"
    if as_other_user; then chown -R "$session_user:" "$1"; fi
}

# The platform's name in figures and tables.
session_label() { [ "$1" = x11 ] && echo X11 || echo Wayland; }

session_open() {
    session_platform=$1
    session_dir=$(mktemp -d)
    session_pids=()
    chmod 755 "$session_dir"
    local run=$session_dir/run
    session_folder "$run"
    chmod 700 "$run"
    session_folder "$session_dir/home"
    session_env=(PATH="$PATH" HOME="$session_dir/home" XDG_RUNTIME_DIR="$run" LANG=C.UTF-8
        XDG_CONFIG_HOME="$session_dir/home/config" XDG_DATA_HOME="$session_dir/home/data")
    case $session_platform in
    x11) open_x11 ;;
    wayland) open_wayland ;;
    *) session_why="no such platform: $session_platform" && false ;;
    esac
    local status=$?
    [ $status = 0 ] || session_close
    return $status
}

open_bus() {
    launch dbus-daemon --session --nofork --print-address=3 3>"$session_dir/bus" >"$session_dir/bus.log" 2>&1
    session_pids+=($launched)
    wait_for 100 test -s "$session_dir/bus" || { session_why="the session bus did not start" && return 1; }
    session_env+=(DBUS_SESSION_BUS_ADDRESS="$(head -n1 "$session_dir/bus")")
}

open_x11() {
    local tool
    for tool in Xvfb trayer xdotool scrot; do
        command -v $tool >/dev/null || { session_why="$tool missing" && return 1; }
    done
    open_bus || return 1
    Xvfb -displayfd 3 -screen 0 2600x1000x24 -nolisten tcp 3>"$session_dir/display" >/dev/null 2>&1 &
    session_pids+=($!)
    wait_for 100 test -s "$session_dir/display" || { session_why="Xvfb did not start" && return 1; }
    session_env+=(DISPLAY=":$(head -n1 "$session_dir/display")" QT_QPA_PLATFORM=xcb)
    launch trayer --edge top --align right --widthtype pixel --width 200 --height 32 >/dev/null 2>&1
    session_pids+=($launched)
    wait_for 200 as_session xdotool search --classname trayer >/dev/null ||
        { session_why="the tray host did not start" && return 1; }
}

open_wayland() {
    local tool
    for tool in sway swaymsg waybar grim jq dbus-daemon dbus-send; do
        command -v $tool >/dev/null || { session_why="$tool missing" && return 1; }
    done
    if [ "$(id -u)" = 0 ] && ! id "$session_user" >/dev/null 2>&1; then
        useradd --system --no-create-home --shell /usr/sbin/nologin "$session_user" ||
            { session_why="no user $session_user to run sway as" && return 1; }
    fi
    [ -n "$(find /usr/lib* -path '*qt6/plugins/platforms/libqwayland*' -print -quit 2>/dev/null)" ] ||
        { session_why="Qt's wayland platform (qt6-wayland) missing" && return 1; }
    session_folder "$session_dir/config"
    open_bus || return 1
    cat >"$session_dir/config/sway" <<'SWAY'
output HEADLESS-1 resolution 2600x1000 position 0 0
xwayland disable
default_border none
default_floating_border none
for_window [title=".*"] floating enable
SWAY
    cat >"$session_dir/config/waybar" <<'BAR'
{ "layer": "top", "position": "top", "height": 32, "modules-right": ["tray"], "tray": { "spacing": 4 } }
BAR
    local attempt
    for attempt in 1 2 3; do
        launch WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
            sway -c "$session_dir/config/sway" >"$session_dir/sway.log" 2>&1
        local sway=$launched
        if wait_for 150 sway_ready; then
            session_pids+=($sway)
            break
        fi
        kill $sway 2>/dev/null
        wait $sway 2>/dev/null
        [ $attempt = 3 ] && { session_why="sway did not start: $(tail -n1 "$session_dir/sway.log")" && return 1; }
    done
    session_env+=(WAYLAND_DISPLAY="$(basename "$(ls "$session_dir"/run/wayland-? | head -n1)")" QT_QPA_PLATFORM=wayland)
    launch waybar -c "$session_dir/config/waybar" >"$session_dir/waybar.log" 2>&1
    session_pids+=($launched)
    wait_for 200 tray_host_ready || { session_why="waybar's tray did not start: $(tail -n1 "$session_dir/waybar.log")" && return 1; }
}

sway_ready() {
    ls "$session_dir"/run/wayland-? >/dev/null 2>&1 || return 1
    local ipc
    ipc=$(ls "$session_dir"/run/sway-ipc.*.sock 2>/dev/null | head -n1)
    [ -n "$ipc" ] && swaymsg -s "$ipc" -t get_version >/dev/null && session_ipc=$ipc
}
tree() { swaymsg -s "$session_ipc" -t get_tree; }

watcher() { # PROPERTY: a property of the tray's StatusNotifierWatcher
    as_session dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher "string:$1"
}
tray_host_ready() { watcher IsStatusNotifierHostRegistered | grep -q 'boolean true'; }

# The window of PID (and TITLE, when given) is on the screen.
session_shown() {
    if [ "$session_platform" = x11 ]; then
        as_session xdotool search --onlyvisible --pid "$1" ${2:+--name "$2"} >/dev/null
    else
        tree | jq -e --argjson pid "$1" --arg title "${2:-}" \
            '[.. | objects | select(.pid? == $pid and .visible? == true and ($title == "" or .name == $title))] | length > 0' \
            >/dev/null
    fi
}

# PID's icon is in the tray: docked into trayer, or registered with waybar's
# watcher by a bus connection of PID.
session_docked() {
    if [ "$session_platform" = x11 ]; then
        local w X Y
        for w in $(as_session xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
            eval "$(as_session xdotool getwindowgeometry --shell "$w")"
            [ "$Y" -lt 32 ] && [ "$X" -ge 2400 ] && return 0
        done
        return 1
    fi
    local item
    for item in $(watcher RegisteredStatusNotifierItems | sed -n 's/^ *string "\([^"/]*\).*/\1/p'); do
        as_session dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
            org.freedesktop.DBus.GetConnectionUnixProcessID "string:$item" | grep -qw "uint32 $1" && return 0
    done
    return 1
}

# Moves PID's window to X,Y of the screen.
session_place() {
    if [ "$session_platform" = x11 ]; then
        local w
        for w in $(as_session xdotool search --onlyvisible --pid "$1"); do as_session xdotool windowmove "$w" "$2" "$3"; done
    else
        swaymsg -s "$session_ipc" "[pid=$1] move position $2 $3" >/dev/null
    fi
}

# The window of PID as X Y W H.
session_geometry() {
    if [ "$session_platform" = x11 ]; then
        local w X Y WIDTH HEIGHT
        w=$(as_session xdotool search --onlyvisible --pid "$1" ${2:+--name "$2"} | head -n1)
        [ -n "$w" ] || return 1
        eval "$(as_session xdotool getwindowgeometry --shell "$w")"
        echo "$X $Y $WIDTH $HEIGHT"
    else
        tree | jq -r --argjson pid "$1" '[.. | objects | select(.pid? == $pid and .visible? == true)][0].rect
            | select(.) | "\(.x) \(.y) \(.width) \(.height)"' | grep .
    fi
}

# A picture of X Y W H of the screen into FILE.
session_picture() {
    if [ "$session_platform" = x11 ]; then
        as_session scrot -o -a "$2,$3,$4,$5" "$1"
    else
        as_session grim -g "$2,$3 $4x$5" "$1"
    fi
}

# What the compositor said, for a run that went wrong.
session_logs() {
    local log
    for log in "$session_dir"/sway.log "$session_dir"/waybar.log; do
        [ -s "$log" ] && { echo "--- $(basename "$log")"; tail -n 20 "$log"; }
    done
}

session_close() {
    local p
    for p in "${session_pids[@]}"; do kill "$p" 2>/dev/null; done
    for p in "${session_pids[@]}"; do wait "$p" 2>/dev/null; done
    # What the session's bus started on its own (the accessibility bus).
    [ -n "${session_dir:-}" ] && for p in $(grep -lsz "^XDG_RUNTIME_DIR=$session_dir/run$" /proc/[0-9]*/environ); do
        p=${p#/proc/}
        kill "${p%/environ}" 2>/dev/null
    done
    session_pids=()
    [ -n "${session_dir:-}" ] && rm -rf "$session_dir"
    session_dir=
}
