# Helpers of the profile end-to-end scripts, sourced by them: an X display of
# its own with a window manager, the program against the simulated keyboard,
# and clicks on skin controls. Expects $bin, $home, $shots, the pids array
# and fail().
unset QT_QPA_PLATFORM
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$home/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$home/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$home/display")
openbox >/dev/null 2>&1 &
pids+=($!)

# A clean per-user home for run $1.
use_home() {
    export XDG_DATA_HOME=$home/$1/data XDG_CONFIG_HOME=$home/$1/config XDG_RUNTIME_DIR=$home/$1/run
    mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
}
# Starts the program with the simulated keyboard and extra options "$@".
start() {
    "$bin/orvane" --simulate --trace "$home/trace" --sim-state "$home/state" "$@" >"$home/out" 2>&1 &
    orvane=$!
    pids+=($orvane)
}
requests() { grep -c '^[>!]' "$home/trace" 2>/dev/null || true; }
# Waits until no request has been sent for a while.
wait_idle() {
    local before=-1 now
    for _ in $(seq 100); do
        now=$(requests)
        [ "$now" = "$before" ] && [ "$now" -gt 0 ] && return
        before=$now
        sleep 0.3
    done
    fail "the keyboard never went quiet"
}
# The main window: the widest visible window of the program.
main_window() {
    local w best="" width most=0
    for w in $(xdotool search --onlyvisible --pid "$orvane" 2>/dev/null); do
        width=$(xwininfo -id "$w" | awk '/Width:/ { print $2 }')
        [ "${width:-0}" -gt "$most" ] && most=$width best=$w
    done
    echo "$best"
}
# A visible window of the program other than the main window, waited for.
other_window() {
    local w
    for _ in $(seq "${1:-50}"); do
        w=$(xdotool search --onlyvisible --pid "$orvane" 2>/dev/null | grep -v "^$window\$" | head -n1 || true)
        [ -n "$w" ] && echo "$w" && return
        sleep 0.1
    done
}
settle() {
    local before="" now
    for _ in $(seq 50); do
        now=$(xwininfo -id "$window" | grep Absolute | tr -d '\n')
        [ "$now" = "$before" ] && return
        before=$now
        sleep 0.2
    done
}
rect() { grep -m1 "^$1=" "$2" | cut -d= -f2 | tr ',' ' '; }
centre() { rect "$1" "${2:-$skin}" | awk '{ print $1 + int($3 / 2), $2 + int($4 / 2) }'; }
click() { # x y, in window $window
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.4
}
# The picture of skin control $1 in the main window, to file $2.
grab() {
    local x y w h
    read -r x y w h < <(rect "$1" "$skin")
    import -window "$window" -crop "${w}x${h}+${x}+${y}" +repage "$2"
}
differs() { [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" != "0" ]; }
shot() { [ -n "$shots" ] && import -window root "$shots/$1.png" || true; }
# Opens the backup menu and picks its item $1 (1: restore, 2: backup), then
# types path $2 into the file dialog that opens.
backup_menu() {
    # shellcheck disable=SC2046
    click $(centre CONTROL_MENU)
    for _ in $(seq "$1"); do xdotool key Down; done
    xdotool key Return
    local dialog
    dialog=$(other_window)
    [ -n "$dialog" ] || fail "menu item $1 opened no file dialog"
    sleep 0.5
    shot "file-dialog-$1"
    xdotool type --delay 5 "$2"
    xdotool key Return
    # Away from the menu button, whose tooltip is a window of its own.
    xdotool mousemove 5 890
    sleep 0.8
}

stop() {
    kill -TERM "$orvane"
    for _ in $(seq 100); do kill -0 "$orvane" 2>/dev/null || break; sleep 0.1; done
}
